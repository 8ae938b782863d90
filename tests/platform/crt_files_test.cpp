// The C runtime's file calls on 16-bit paths: open modes with the read-only
// rule and the single-byte text writer; device_fopen beside
// the host's own fopen.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "simulator/device_simulator.hpp"
#include "support/temporary_device.hpp"

namespace {

std::string read_all(std::FILE* file) {
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
    std::fclose(file);
    return text;
}

}  // namespace

TEST(crt_files, open_modes) {
    test_support::temporary_device device;
    device.write_file("Windows/existing", "12");
    device.write_file("Windows/read_only", "12");
    device.set_writable("Windows/read_only", false);
    struct row {
        const char16_t* path;
        const char16_t* mode;
        bool opens;
    };
    const row rows[] = {
        {u"\\Windows\\existing", u"r+t", true},
        {u"\\windows\\EXISTING", u"rt", true},
        {u"\\Windows\\missing", u"r+t", false},   // "r" modes need the file
        {u"\\Windows\\read_only", u"rt", true},
        {u"\\Windows\\read_only", u"r+t", false}, // read-only blocks every writing mode
        {u"\\Windows\\read_only", u"w+t", false},
        {u"\\Windows\\read_only", u"a", false},
        {u"\\Windows\\created", u"w+t", true},
        {u"\\Nowhere\\created", u"w+t", false},
        {u"\\Windows", u"rt", false},             // a folder is no file
        {u"\\Windows\\existing", u"x", false},    // unknown modes
        {u"\\Windows\\existing", u"r+q", false},
        {u"\\Windows\\existing", u"", false},
        {u"\\Windows\\..\\existing", u"rt", false},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(std::string(r.path, r.path + std::char_traits<char16_t>::length(r.path)) + " " +
                     std::string(r.mode, r.mode + std::char_traits<char16_t>::length(r.mode)));
        std::FILE* file = _wfopen(r.path, r.mode);
        EXPECT_EQ(file != nullptr, r.opens);
        if (file) std::fclose(file);
    }
    EXPECT_TRUE(device.exists("Windows/created"));
    EXPECT_FALSE(device.exists("Nowhere"));
}

TEST(crt_files, write_text_one_byte_per_character) {
    test_support::temporary_device device;
    device.make_folder("Windows");
    std::FILE* file = _wfopen(u"\\Windows\\tv_lastlang", u"w+t");
    ASSERT_NE(file, nullptr);
    EXPECT_GE(fputws(u"-23\u00e4", file), 0);
    EXPECT_LT(fputws(u"\u0142", file), 0);  // outside the single-byte set: refused whole
    std::fclose(file);
    EXPECT_EQ(device.read_file("Windows/tv_lastlang"), "-23\xe4");
}

TEST(crt_files, injected_open_failure_and_trace) {
    test_support::temporary_device device;
    device.write_file("Windows/tv_lastlang", "5");
    device_simulator::record_calls(true);
    device_simulator::fail_call("_wfopen", 1, ERROR_ACCESS_DENIED);
    EXPECT_EQ(_wfopen(u"\\Windows\\tv_lastlang", u"r+t"), nullptr);
    std::FILE* file = _wfopen(u"\\Windows\\tv_lastlang", u"r+t");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_EQ(device_simulator::take_recorded_calls(),
              (std::vector<std::string>{"_wfopen \\Windows\\tv_lastlang r+t -> failed",
                                        "_wfopen \\Windows\\tv_lastlang r+t -> ok"}));
}

// A program linked with the platform layer keeps the C library's fopen:
// "\\x" opens the host file of that name in the working folder, though a
// device is attached that holds an "x" of its own; device_fopen maps it.
TEST(crt_files, fopen_stays_the_hosts_and_device_fopen_maps_device_paths) {
    test_support::temporary_device device;
    device.write_file("x", "on the device");
    device.write_file("working/\\x", "on the host");
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(device.host("working"));
    std::FILE* host = std::fopen("\\x", "r");
    std::filesystem::current_path(previous);
    std::FILE* mapped = device_fopen("\\X", "rb");
    ASSERT_NE(host, nullptr);
    ASSERT_NE(mapped, nullptr);
    EXPECT_EQ(read_all(host), "on the host");
    EXPECT_EQ(read_all(mapped), "on the device");
}
