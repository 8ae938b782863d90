// The remembered language: reading the device language file on simulated
// devices. The code-to-message table and the texts are in
// insert_card_message_test.cpp, which runs on every platform.
#include <gtest/gtest.h>

#include <climits>

#include "remembered_language.hpp"
#include "support/temporary_device.hpp"

TEST(remembered_language, reads_the_device_language_file) {
    struct row {
        const char* content;  // nullptr: no file
        bool read_only;
        int message_id;
    };
    const row rows[] = {
        {nullptr, false, 1},
        {"", false, 1},
        {"23", false, 13},
        {"26", false, 6},
        {"13", false, 1},
        {"0", false, 1},
        {"-5", false, 1},
        {"7abc", false, 7},
        {" \n\t 9", false, 9},
        {"24 23", false, 14},          // only the first word counts
        {"abc", false, 1},
        {"32", true, 1},               // a file that cannot be opened for updating
        {"2147483648", false, 1},      // saturates, then maps like any unknown code
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.content ? r.content : "(no file)");
        test_support::temporary_device device;
        device.make_folder("Windows");
        if (r.content) device.write_file("Windows/tv_lastlang", r.content);
        if (r.read_only) device.set_writable("Windows/tv_lastlang", false);
        launcher::insert_card_message_id = -1;
        launcher::read_device_language_file();
        EXPECT_EQ(launcher::insert_card_message_id, r.message_id);
    }
}

TEST(remembered_language, a_long_word_is_cut_to_31_characters) {
    struct row {
        std::string content;
        int message_id;
    };
    // 31 characters are read: "0...05" with 30 zeros is 5; with 31 zeros the 5 lies beyond.
    const row rows[] = {
        {std::string(30, '0') + "5", 5},
        {std::string(31, '0') + "5", 1},
        {std::string(100, '7'), 1},  // saturated, far outside the table
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.content);
        test_support::temporary_device device;
        device.write_file("Windows/tv_lastlang", r.content);
        launcher::read_device_language_file();
        EXPECT_EQ(launcher::insert_card_message_id, r.message_id);
    }
}
