// Temporary device folders for tests.
#include "support/temporary_device.hpp"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "simulator/device_simulator.hpp"

namespace fs = std::filesystem;

namespace test_support {

temporary_device::temporary_device() {
    static std::atomic<unsigned> counter{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path path = fs::temp_directory_path() /
                    ("device-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    fs::create_directories(path);
    folder_ = path.string();
    device_simulator::reset();
    device_simulator::set_device_folder(folder_);
    device_simulator::set_message_box_output(nullptr);
}

temporary_device::~temporary_device() {
    device_simulator::wait_for_started_processes();
    device_simulator::reset();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

std::string temporary_device::host(const std::string& relative) const {
    return folder_ + "/" + relative;
}

void temporary_device::make_folder(const std::string& relative) const {
    fs::create_directories(host(relative));
}

void temporary_device::write_file(const std::string& relative, const std::string& content) const {
    fs::path path = host(relative);
    fs::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << content;
    if (!file) throw std::runtime_error("cannot write test file " + path.string());
}

std::string temporary_device::read_file(const std::string& relative) const {
    std::ifstream file(host(relative), std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

bool temporary_device::exists(const std::string& relative) const {
    return fs::exists(host(relative));
}

void temporary_device::set_writable(const std::string& relative, bool writable) const {
    const fs::perms write_bits = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(host(relative), writable ? fs::perms::owner_write : write_bits,
                    writable ? fs::perm_options::add : fs::perm_options::remove);
}

void temporary_device::write_program(const std::string& relative, const std::string& script_body) const {
    write_file(relative, "#!/bin/sh\n" + script_body + "\n");
    fs::permissions(host(relative), fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                    fs::perm_options::add);
}

}  // namespace test_support
