// The simulated cursor, string resources and message boxes.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "simulator/device_simulator.hpp"

namespace {

const device_simulator::string_resource test_strings[] = {
    {901, u"Hello"},
    {902, u"Gr\u00fc\u00dfe"},
};

class user_interface_api : public ::testing::Test {
protected:
    void SetUp() override {
        device_simulator::reset();
        device_simulator::set_message_box_output(nullptr);
        device_simulator::register_string_table(test_strings, 2);
    }
};

}  // namespace

TEST_F(user_interface_api, wait_cursor_and_show_count) {
    HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
    EXPECT_EQ(wait, device_simulator::system_wait_cursor());
    EXPECT_NE(LoadCursorW(nullptr, IDC_ARROW), wait);
    EXPECT_EQ(SetCursor(wait), nullptr);
    EXPECT_EQ(ShowCursor(TRUE), 1);
    EXPECT_EQ(device_simulator::cursor().current, wait);
    EXPECT_EQ(SetCursor(nullptr), wait);
    EXPECT_EQ(ShowCursor(FALSE), 0);
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(device_simulator::cursor().current, nullptr);
    EXPECT_EQ(device_simulator::cursor().show_count, -1);
}

TEST_F(user_interface_api, load_cursor_failures) {
    EXPECT_EQ(LoadCursorW(device_simulator::program_instance(), IDC_WAIT), nullptr);  // no cursors of its own
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCEW(100)), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    device_simulator::fail_call("LoadCursorW", 1, ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_WAIT), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
}

TEST_F(user_interface_api, load_string_copies_and_truncates) {
    struct row {
        UINT id;
        int buffer_chars;
        int length;
        const char16_t* text;
    };
    const row rows[] = {
        {901, 1024, 5, u"Hello"}, {901, 6, 5, u"Hello"}, {901, 5, 4, u"Hell"},
        {901, 1, 0, u""},         {902, 16, 5, u"Gr\u00fc\u00dfe"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(std::to_string(r.id) + " into " + std::to_string(r.buffer_chars));
        WCHAR buffer[1025];
        std::fill(std::begin(buffer), std::end(buffer), u'#');
        EXPECT_EQ(LoadStringW(device_simulator::program_instance(), r.id, buffer, r.buffer_chars), r.length);
        EXPECT_EQ(std::u16string(buffer), std::u16string(r.text));
        EXPECT_EQ(buffer[r.buffer_chars], u'#');  // nothing written past the buffer
    }
}

TEST_F(user_interface_api, load_string_special_cases) {
    const WCHAR* resource = nullptr;
    EXPECT_EQ(LoadStringW(nullptr, 901, reinterpret_cast<LPWSTR>(&resource), 0), 5);
    ASSERT_NE(resource, nullptr);
    EXPECT_EQ(std::u16string(resource, 5), u"Hello");
    WCHAR buffer[8] = {};
    EXPECT_EQ(LoadStringW(nullptr, 999, buffer, 8), 0);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(LoadStringW(nullptr, 901, nullptr, 8), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(user_interface_api, message_box_prints_one_utf8_line_and_returns_ok) {
    std::FILE* output = std::tmpfile();
    ASSERT_NE(output, nullptr);
    device_simulator::set_message_box_output(output);
    device_simulator::record_calls(true);
    EXPECT_EQ(MessageBoxW(nullptr, u"L\u00e4gg in minneskortet.", u"Tarvolen", MB_TOPMOST), IDOK);
    std::rewind(output);
    char line[128] = {};
    ASSERT_NE(std::fgets(line, sizeof line, output), nullptr);
    EXPECT_EQ(std::string(line), "Tarvolen: L\xc3\xa4gg in minneskortet.\n");
    std::fclose(output);
    EXPECT_EQ(device_simulator::shown_message_boxes(),
              std::vector<std::string>{"Tarvolen: L\xc3\xa4gg in minneskortet."});
    EXPECT_EQ(device_simulator::take_recorded_calls(),
              std::vector<std::string>{"MessageBoxW 0 Tarvolen: L\xc3\xa4gg in minneskortet. 0x40000 -> 1"});
}

TEST_F(user_interface_api, failed_message_box_returns_zero_and_shows_nothing) {
    device_simulator::fail_call("MessageBoxW", 1, ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(MessageBoxW(nullptr, u"text", u"caption", MB_OK), 0);
    EXPECT_TRUE(device_simulator::shown_message_boxes().empty());
}
