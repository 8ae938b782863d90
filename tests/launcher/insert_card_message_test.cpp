// The insert-card message: which message a language code selects, and the
// string table's texts as LoadStringW hands them out. Runs on every platform:
// on Windows the texts come from the compiled resource script linked into
// this program, so both forms of the table are checked against one list.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <iterator>
#include <map>
#include <string>

#include "remembered_language.hpp"
#include "support/program_instance.hpp"

namespace {

using text = std::basic_string<WCHAR>;

std::string printable(const text& wide) {
    std::string narrow;
    for (WCHAR c : wide) narrow += c < 0x80 ? static_cast<char>(c) : '?';
    return narrow;
}

}  // namespace

TEST(insert_card_message, message_for_every_code) {
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

TEST(insert_card_message, string_table_holds_the_fifteen_messages_in_latin_1) {
    const WCHAR* expected[] = {
        TEXT("Please insert the memory card into the device."),
        TEXT("Bitte legen sie die Speicherkarte in das Ger\u00e4t ein."),
        TEXT("Veuillez ins\u00e9rer la carte m\u00e9moire dans l'appareil."),
        TEXT("Por favor, inserte la tarjeta de memoria en el aparato."),
        TEXT("Si prega d'inserire la memory-card nell'apparecchio."),
        TEXT("Plaats a.u.b. de geheugenkaart in het apparaat."),
        TEXT("Coloque o cart\u00e3o de mem\u00f3ria no aparelho."),
        TEXT("L\u00e4gg in minneskortet i enheten."),
        TEXT("L\u00e6g hukommelseskortet ind i apparatet."),
        TEXT("Aseta muistikortti laitteeseen."),
        TEXT("Sett minnekortet inn i enheten."),
        TEXT("Vlozte do pr\u00edstroje pametovou kartu."),
        TEXT("L\u00fctfen hafiza kartini cihazin i\u00e7ine yerlestirin."),
        TEXT("Umiesc karte pamieci w urzadzeniu."),
        TEXT("K\u00e9rem, helyezze be a mem\u00f3riak\u00e1rty\u00e1t."),
    };
    for (UINT id = 1; id <= 15; ++id) {
        SCOPED_TRACE(id);
        WCHAR buffer[1024] = {};
        int length = LoadStringW(test_support::program_instance(), id, buffer, 1024);
        EXPECT_EQ(text(buffer), text(expected[id - 1])) << printable(buffer);
        EXPECT_EQ(length, static_cast<int>(text(expected[id - 1]).size()));
        for (WCHAR c : text(buffer)) EXPECT_LE(static_cast<unsigned>(c), 0xFFu);  // ISO 8859-1 only
    }
    WCHAR buffer[8];
    EXPECT_EQ(LoadStringW(test_support::program_instance(), 16, buffer, 8), 0);
}

// The buffer conventions, which the simulator copies from Windows: a short
// buffer gets the text's start and a terminator; a zero-sized one receives a
// pointer to the resource text itself, which need not be terminated. (A
// one-character buffer is left out: wine leaves it untouched, the simulator
// terminates it, and the launcher never passes one.)
TEST(insert_card_message, load_string_buffer_conventions) {
    struct row {
        int buffer_chars;
        const WCHAR* copied;
    };
    const row rows[] = {
        {2, TEXT("B")},
        {29, TEXT("Bitte legen sie die Speicher")},
        {53, TEXT("Bitte legen sie die Speicherkarte in das Ger\u00e4t ein.")},
        {54, TEXT("Bitte legen sie die Speicherkarte in das Ger\u00e4t ein.")},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.buffer_chars);
        WCHAR buffer[64];
        std::fill(std::begin(buffer), std::end(buffer), WCHAR(0x7777));
        int length = LoadStringW(test_support::program_instance(), 2, buffer, r.buffer_chars);
        EXPECT_EQ(length, static_cast<int>(text(r.copied).size()));
        EXPECT_EQ(text(buffer), text(r.copied));
        EXPECT_EQ(buffer[r.buffer_chars], WCHAR(0x7777));  // nothing written past the buffer
    }
    const WCHAR* resource = nullptr;
    int length = LoadStringW(test_support::program_instance(), 8, reinterpret_cast<LPWSTR>(&resource), 0);
    ASSERT_EQ(length, 31);
    ASSERT_NE(resource, nullptr);
    EXPECT_EQ(text(resource, static_cast<std::size_t>(length)), text(TEXT("L\u00e4gg in minneskortet i enheten.")));
}
