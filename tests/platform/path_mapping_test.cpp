// Device paths to host paths: case-insensitive matching, creation spelling,
// refusal of paths that would leave the device folder.
#include <gtest/gtest.h>

#include "simulator/device_simulator.hpp"
#include "simulator/path_mapping.hpp"
#include "support/temporary_device.hpp"

using namespace device_simulator;

namespace {

// The host path that a device path maps to; empty when the path is invalid.
std::string host_path(const std::u16string& device_path) {
    mapped_path mapped = map_device_path(device_path.c_str());
    return mapped.error == ERROR_SUCCESS ? mapped.host : std::string();
}

}  // namespace

TEST(path_mapping, maps_components_case_insensitively) {
    test_support::temporary_device device;
    device.write_file("Storage Card/TVL/TVL.EXE", "x");
    device.write_file("Windows/tv_lastlang", "1");
    struct row {
        const char16_t* device_path;
        const char* host_relative;
    };
    const row rows[] = {
        {u"\\Storage Card\\TVL\\TVL.EXE", "Storage Card/TVL/TVL.EXE"},
        {u"\\storage card\\tvl\\tvl.exe", "Storage Card/TVL/TVL.EXE"},
        {u"\\WINDOWS\\TV_LASTLANG", "Windows/tv_lastlang"},
        {u"/Windows/tv_lastlang", "Windows/tv_lastlang"},       // either separator
        {u"\\\\Windows\\\\tv_lastlang", "Windows/tv_lastlang"}, // doubled separators
        {u"Windows\\tv_lastlang", "Windows/tv_lastlang"},       // no current folder: from the root
        {u"\\Windows\\New File", "Windows/New File"},           // a new name keeps its spelling
        {u"\\Missing\\Deeper\\File", "Missing/Deeper/File"},
        {u"\\", "/"},  // the root, with the empty name that follows a trailing separator
    };
    for (const row& r : rows) {
        SCOPED_TRACE(std::string(r.host_relative));
        std::string expected = device.folder() + (*r.host_relative == '/' ? "" : "/") + r.host_relative;
        EXPECT_EQ(host_path(r.device_path), expected);
    }
}

TEST(path_mapping, prefers_the_exact_name_then_the_first_in_byte_order) {
    test_support::temporary_device device;
    device.write_file("a/FILE", "upper");
    device.write_file("a/file", "lower");
    device.write_file("a/File", "mixed");
    EXPECT_EQ(host_path(u"\\a\\file"), device.host("a/file"));
    EXPECT_EQ(host_path(u"\\a\\fILE"), device.host("a/FILE"));  // "FILE" < "File" < "file"
}

TEST(path_mapping, refuses_paths_that_leave_the_device_or_are_malformed) {
    test_support::temporary_device device;
    device.make_folder("Windows");
    const std::u16string bad_paths[] = {
        u"\\..\\etc\\passwd", u"\\Windows\\..\\..", u"\\.\\Windows", u"\\Win*\\file",
        std::u16string(u"\\bad") + char16_t(0xD800),  // unpaired surrogate
    };
    for (const std::u16string& path : bad_paths) {
        SCOPED_TRACE(std::string(path.begin(), path.end()));
        EXPECT_EQ(map_device_path(path.c_str()).error, ERROR_INVALID_NAME);
        EXPECT_EQ(host_path(path), "");
    }
}

TEST(path_mapping, without_a_device_nothing_maps) {
    device_simulator::reset();
    EXPECT_EQ(map_device_path(u"\\Windows\\tv_lastlang").error, ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(host_path(u"\\Windows\\tv_lastlang"), "");
}

TEST(path_mapping, reports_whether_the_parent_exists) {
    test_support::temporary_device device;
    device.write_file("Windows/tv_lastlang", "1");
    EXPECT_TRUE(map_device_path(u"\\Windows\\nothing").parent_exists);
    EXPECT_FALSE(map_device_path(u"\\Nowhere\\nothing").parent_exists);
    EXPECT_FALSE(map_device_path(u"\\Windows\\tv_lastlang\\below").parent_exists);  // a file is no folder
}

TEST(path_mapping, wildcards) {
    struct row {
        const char16_t* pattern;
        const char16_t* name;
        bool matches;
    };
    const row rows[] = {
        {u"", u"", true},         {u"*", u"", true},          {u"?", u"", false},
        {u"*", u"anything", true}, {u"*.xml", u"Settings.XML", true}, {u"*.xml", u"Settings.xmlx", false},
        {u"a?c", u"abc", true},   {u"a?c", u"ac", false},     {u"*a*b*c*", u"xxaxxbxxcxx", true},
        {u"*a*b*c", u"abcab", false}, {u"TVL.EXE", u"tvl.exe", true}, {u"**?", u"x", true},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(std::string(r.pattern, r.pattern + std::char_traits<char16_t>::length(r.pattern)) + " ~ " +
                     std::string(r.name, r.name + std::char_traits<char16_t>::length(r.name)));
        EXPECT_EQ(wildcard_match(r.pattern, r.name), r.matches);
    }
}
