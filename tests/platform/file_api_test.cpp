// The simulated file search and attribute calls against their Windows
// contract: results, GetLastError values, traces and injected failures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "simulator/device_simulator.hpp"
#include "support/temporary_device.hpp"

namespace {

std::string name_of(const WIN32_FIND_DATAW& data) {
    std::u16string name(data.cFileName);
    return std::string(name.begin(), name.end());
}

// A file's attributes as the program sees them: in the record its search finds.
DWORD attributes_found(const WCHAR* path) {
    WIN32_FIND_DATAW data = {};
    HANDLE search = FindFirstFileW(path, &data);
    if (search == INVALID_HANDLE_VALUE) return 0;
    FindClose(search);
    return data.dwFileAttributes;
}

}  // namespace

TEST(file_api, find_first_file_results_and_errors) {
    test_support::temporary_device device;
    device.write_file("Storage Card/TVL/TVL.EXE", "program");
    device.make_folder("Folder Card/TVL/TVL.EXE");
    struct row {
        const char16_t* path;
        bool found;
        DWORD error;        // when not found
        const char* name;   // when found: the name as stored
        DWORD attributes;
    };
    const row rows[] = {
        {u"\\Storage Card\\TVL\\TVL.EXE", true, 0, "TVL.EXE", FILE_ATTRIBUTE_NORMAL},
        {u"\\STORAGE CARD\\tvl\\tvl.exe", true, 0, "TVL.EXE", FILE_ATTRIBUTE_NORMAL},
        {u"\\Folder Card\\TVL\\TVL.EXE", true, 0, "TVL.EXE", FILE_ATTRIBUTE_DIRECTORY},
        {u"\\Storage Card\\TVL\\MISSING.EXE", false, ERROR_FILE_NOT_FOUND, "", 0},
        {u"\\No Card\\TVL\\TVL.EXE", false, ERROR_PATH_NOT_FOUND, "", 0},
        {u"\\Storage Card\\TVL\\", false, ERROR_FILE_NOT_FOUND, "", 0},
        {u"\\Storage Card\\..\\x", false, ERROR_INVALID_NAME, "", 0},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(std::string(r.path, r.path + std::char_traits<char16_t>::length(r.path)));
        WIN32_FIND_DATAW data = {};
        SetLastError(0);
        HANDLE search = FindFirstFileW(r.path, &data);
        if (r.found) {
            ASSERT_NE(search, INVALID_HANDLE_VALUE);
            EXPECT_EQ(name_of(data), r.name);
            EXPECT_EQ(data.dwFileAttributes, r.attributes);
            EXPECT_TRUE(FindClose(search));
        } else {
            EXPECT_EQ(search, INVALID_HANDLE_VALUE);
            EXPECT_EQ(GetLastError(), r.error);
        }
    }
}

TEST(file_api, find_data_carries_size_and_times) {
    test_support::temporary_device device;
    device.write_file("data.bin", std::string(1234, 'x'));
    WIN32_FIND_DATAW data = {};
    HANDLE search = FindFirstFileW(u"\\data.bin", &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.nFileSizeLow, 1234u);
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    // Written just now: a time after 2020 in 100 ns units since 1601.
    std::uint64_t written = (std::uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    EXPECT_GT(written, 132223104000000000ULL);
    FindClose(search);
}

TEST(file_api, wildcard_search_finds_the_first_match_in_byte_order) {
    test_support::temporary_device device;
    device.write_file("Settings/b.xml", "");
    device.write_file("Settings/A.XML", "");
    device.write_file("Settings/0.txt", "");
    WIN32_FIND_DATAW data = {};
    HANDLE search = FindFirstFileW(u"\\settings\\*.xml", &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(name_of(data), "A.XML");
    EXPECT_TRUE(FindClose(search));

    EXPECT_EQ(FindFirstFileW(u"\\settings\\*.none", &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST(file_api, find_close_takes_each_search_handle_once) {
    test_support::temporary_device device;
    device.write_file("file", "");
    WIN32_FIND_DATAW data = {};
    HANDLE search = FindFirstFileW(u"\\file", &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(FindClose(search));
    EXPECT_FALSE(FindClose(search));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(FindClose(INVALID_HANDLE_VALUE));
}

TEST(file_api, read_only_attribute_round_trip) {
    test_support::temporary_device device;
    device.write_file("Windows/tv_lastlang", "23");
    EXPECT_EQ(attributes_found(u"\\Windows\\tv_lastlang"), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(SetFileAttributesW(u"\\Windows\\tv_lastlang", FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(attributes_found(u"\\Windows\\tv_lastlang"), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(_wfopen(u"\\Windows\\tv_lastlang", u"w+t"), nullptr);  // enforced even for root
    EXPECT_TRUE(SetFileAttributesW(u"\\Windows\\tv_lastlang", FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(attributes_found(u"\\Windows\\tv_lastlang"), FILE_ATTRIBUTE_NORMAL);
    std::FILE* file = _wfopen(u"\\Windows\\tv_lastlang", u"w+t");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_EQ(attributes_found(u"\\Windows"), FILE_ATTRIBUTE_DIRECTORY);
}

TEST(file_api, attributes_of_missing_files_cannot_be_set) {
    test_support::temporary_device device;
    device.make_folder("Windows");
    EXPECT_FALSE(SetFileAttributesW(u"\\Windows\\none", FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(SetFileAttributesW(u"\\Nowhere\\none", FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST(file_api, traces_and_injected_failures) {
    test_support::temporary_device device;
    device.write_file("Card/TVL/TVL.EXE", "");
    device_simulator::record_calls(true);
    device_simulator::fail_call("FindFirstFileW", 2, ERROR_ACCESS_DENIED);
    WIN32_FIND_DATAW data = {};
    HANDLE first = FindFirstFileW(u"\\Card\\TVL\\TVL.EXE", &data);
    HANDLE second = FindFirstFileW(u"\\Card\\TVL\\TVL.EXE", &data);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    HANDLE third = FindFirstFileW(u"\\Card\\TVL\\TVL.EXE", &data);
    EXPECT_NE(first, INVALID_HANDLE_VALUE);
    EXPECT_EQ(second, INVALID_HANDLE_VALUE);
    EXPECT_NE(third, INVALID_HANDLE_VALUE);
    FindClose(first);
    FindClose(third);
    std::vector<std::string> calls = device_simulator::take_recorded_calls();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[0], "FindFirstFileW \\Card\\TVL\\TVL.EXE");
    EXPECT_EQ(calls[1], "FindFirstFileW \\Card\\TVL\\TVL.EXE");
    EXPECT_EQ(calls[3].rfind("FindClose 0x", 0), 0u);
}
