// Card enumeration into card roots, and the existence probe.
#include <gtest/gtest.h>

#include <algorithm>

#include "card_search.hpp"
#include "simulator/device_simulator.hpp"
#include "support/temporary_device.hpp"

namespace {

std::vector<std::string> count_calls(const std::vector<std::string>& calls, const std::string& name) {
    std::vector<std::string> matching;
    for (const std::string& call : calls)
        if (call.rfind(name + " ", 0) == 0) matching.push_back(call);
    return matching;
}

}  // namespace

TEST(card_search, card_roots_in_enumeration_order) {
    test_support::temporary_device device;
    device.make_folder("SD Card");
    device.make_folder("Storage Card");
    device_simulator::set_storage_cards({"Storage Card", "SD Card"});
    device_simulator::record_calls(true);
    launcher::card_list cards;
    EXPECT_TRUE(launcher::find_storage_cards(cards));
    EXPECT_EQ(cards, (launcher::card_list{u"\\Storage Card", u"\\SD Card"}));
    EXPECT_EQ(count_calls(device_simulator::take_recorded_calls(), "FindClose").size(), 1u);
}

TEST(card_search, no_card_or_a_failed_enumeration_leaves_the_list_empty) {
    test_support::temporary_device device;
    launcher::card_list cards;
    EXPECT_FALSE(launcher::find_storage_cards(cards));
    EXPECT_TRUE(cards.empty());

    device.make_folder("Card");
    device_simulator::set_storage_cards({"Card"});
    device_simulator::fail_call("FindFirstFlashCard", 1, ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_FALSE(launcher::find_storage_cards(cards));
    EXPECT_TRUE(cards.empty());
}

TEST(card_search, file_exists_for_files_and_folders) {
    test_support::temporary_device device;
    device.write_file("Card/TVL/TVL.EXE", "");
    device.make_folder("Other/TVL/TVL.EXE");
    device_simulator::record_calls(true);
    struct row {
        const char16_t* path;
        bool exists;
    };
    const row rows[] = {
        {u"\\Card\\TVL\\TVL.EXE", true},
        {u"\\card\\tvl\\tvl.exe", true},
        {u"\\Other\\TVL\\TVL.EXE", true},  // a folder counts
        {u"\\Card\\TVL\\NONE.EXE", false},
        {u"\\None\\TVL\\TVL.EXE", false},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(std::string(r.path, r.path + std::char_traits<char16_t>::length(r.path)));
        EXPECT_EQ(launcher::file_exists(r.path), r.exists);
    }
    // Every successful search is closed at once.
    EXPECT_EQ(count_calls(device_simulator::take_recorded_calls(), "FindClose").size(), 3u);
}
