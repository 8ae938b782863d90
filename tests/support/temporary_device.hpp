// A fresh device folder for one test: attached to the simulator on creation,
// removed (after waiting for the programs it started) on destruction.
#pragma once

#include <string>
#include <vector>

namespace test_support {

class temporary_device {
public:
    temporary_device();
    ~temporary_device();
    temporary_device(const temporary_device&) = delete;
    temporary_device& operator=(const temporary_device&) = delete;

    // Host path of a file or folder given relative to the device root, with "/".
    std::string host(const std::string& relative) const;
    const std::string& folder() const { return folder_; }

    void make_folder(const std::string& relative) const;
    void write_file(const std::string& relative, const std::string& content) const;
    std::string read_file(const std::string& relative) const;
    bool exists(const std::string& relative) const;
    void set_writable(const std::string& relative, bool writable) const;
    // A shell script with the execute bits set: a program the simulator can start.
    void write_program(const std::string& relative, const std::string& script_body) const;

private:
    std::string folder_;
};

}  // namespace test_support
