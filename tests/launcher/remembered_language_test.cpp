// The remembered language: the code-to-message table, reading the device
// language file, and the string table's texts.
#include <gtest/gtest.h>

#include <climits>
#include <map>

#include "launcher/remembered_language.hpp"
#include "simulator/device_simulator.hpp"
#include "support/temporary_device.hpp"

TEST(remembered_language, message_for_every_code) {
    const std::map<int, int> listed = {{2, 2},  {3, 3},   {4, 4},   {5, 5},   {6, 6},  {7, 7},
                                       {8, 8},  {9, 9},   {10, 10}, {11, 11}, {12, 12}, {23, 13},
                                       {24, 14}, {26, 6}, {32, 15}};
    for (int code = -1; code <= 34; ++code) {
        SCOPED_TRACE(code);
        auto found = listed.find(code);
        EXPECT_EQ(launcher::insert_card_message_for(code), found == listed.end() ? 1 : found->second);
    }
    for (int code : {INT_MIN, -99, 100, 1000, 1000000, INT_MAX}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(launcher::insert_card_message_for(code), 1);
    }
}

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
        launcher::read_last_language();
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
        launcher::read_last_language();
        EXPECT_EQ(launcher::insert_card_message_id, r.message_id);
    }
}

TEST(remembered_language, string_table_holds_the_fifteen_messages) {
    const char16_t* expected[] = {
        u"Please insert the memory card into the device.",
        u"Bitte legen sie die Speicherkarte in das Ger\u00e4t ein.",
        u"Veuillez ins\u00e9rer la carte m\u00e9moire dans l'appareil.",
        u"Por favor, inserte la tarjeta de memoria en el aparato.",
        u"Si prega d'inserire la memory-card nell'apparecchio.",
        u"Plaats a.u.b. de geheugenkaart in het apparaat.",
        u"Coloque o cart\u00e3o de mem\u00f3ria no aparelho.",
        u"L\u00e4gg in minneskortet i enheten.",
        u"L\u00e6g hukommelseskortet ind i apparatet.",
        u"Aseta muistikortti laitteeseen.",
        u"Sett minnekortet inn i enheten.",
        u"Vlozte do pr\u00edstroje pametovou kartu.",
        u"L\u00fctfen hafiza kartini cihazin i\u00e7ine yerlestirin.",
        u"Umiesc karte pamieci w urzadzeniu.",
        u"K\u00e9rem, helyezze be a mem\u00f3riak\u00e1rty\u00e1t.",
    };
    for (UINT id = 1; id <= 15; ++id) {
        SCOPED_TRACE(id);
        WCHAR text[1024] = {};
        int length = LoadStringW(device_simulator::program_instance(), id, text, 1024);
        EXPECT_EQ(std::u16string(text), std::u16string(expected[id - 1]));
        EXPECT_EQ(length, static_cast<int>(std::char_traits<char16_t>::length(expected[id - 1])));
        for (WCHAR c : std::u16string(text)) EXPECT_LE(c, 0xFF);  // ISO 8859-1 only
    }
    WCHAR text[8];
    EXPECT_EQ(LoadStringW(device_simulator::program_instance(), 16, text, 8), 0);
}
