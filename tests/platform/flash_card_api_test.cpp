// The simulated storage-card library: configured order, unmounted cards,
// the empty device, and the default card list of launcher-sim.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "simulator/device_simulator.hpp"
#include "support/temporary_device.hpp"

namespace {

std::vector<std::string> enumerate_cards() {
    std::vector<std::string> names;
    WIN32_FIND_DATAW card = {};
    HANDLE search = FindFirstFlashCard(&card);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::u16string name(card.cFileName);
        names.emplace_back(name.begin(), name.end());
        EXPECT_EQ(card.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY);
    } while (FindNextFlashCard(search, &card));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_TRUE(FindClose(search));
    return names;
}

}  // namespace

TEST(flash_card_api, reports_the_configured_cards_in_order) {
    test_support::temporary_device device;
    device.make_folder("Storage Card");
    device.make_folder("SD Card");
    device.make_folder("Zeta");
    device_simulator::set_storage_cards({"Zeta", "Storage Card", "Missing", "SD Card"});
    // A configured card without a folder is not mounted and is not reported.
    EXPECT_EQ(enumerate_cards(), (std::vector<std::string>{"Zeta", "Storage Card", "SD Card"}));
}

TEST(flash_card_api, no_card_gives_the_invalid_handle) {
    test_support::temporary_device device;
    WIN32_FIND_DATAW card = {};
    EXPECT_EQ(FindFirstFlashCard(&card), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_FALSE(FindNextFlashCard(INVALID_HANDLE_VALUE, &card));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(flash_card_api, injected_failure_of_the_first_card) {
    test_support::temporary_device device;
    device.make_folder("Card");
    device_simulator::set_storage_cards({"Card"});
    device_simulator::fail_call("FindFirstFlashCard", 1, ERROR_NOT_ENOUGH_MEMORY);
    WIN32_FIND_DATAW card = {};
    EXPECT_EQ(FindFirstFlashCard(&card), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(enumerate_cards(), std::vector<std::string>{"Card"});
}

TEST(flash_card_api, default_cards_are_the_folders_but_windows_in_byte_order) {
    test_support::temporary_device device;
    device.make_folder("b card");
    device.make_folder("Windows");
    device.make_folder("A Card");
    device.make_folder("a card");
    device.write_file("not a card", "");
    EXPECT_EQ(device_simulator::folders_as_cards(device.folder()),
              (std::vector<std::string>{"A Card", "a card", "b card"}));
}
