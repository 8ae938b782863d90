// Simulated storage-card library: the configured cards, in their order, each
// reported like the find-data record of its root folder. On the device, card
// folders carry the temporary attribute, and so do they here.
#include "call_log.hpp"
#include "device_state.hpp"
#include "find_search.hpp"
#include "simulator/device_simulator.hpp"
#include "wide_text.hpp"

using namespace device_simulator;

namespace {

std::vector<WIN32_FIND_DATAW> mounted_cards() {
    std::vector<WIN32_FIND_DATAW> cards;
    for (const std::string& name : storage_cards()) {
        WIN32_FIND_DATAW data;
        if (describe_host_file(device_folder() + "/" + name, utf8_to_utf16(name), data) &&
            (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            data.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY;
            cards.push_back(data);
        }
    }
    return cards;
}

HANDLE start_card_search(WIN32_FIND_DATAW* data) {
    if (!data) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    return open_search<card_search>(mounted_cards(), data, ERROR_NO_MORE_FILES);
}

std::string reported_card(BOOL found, const WIN32_FIND_DATAW* data) {
    return found ? " -> " + printable_utf8(data->cFileName) : " -> none";
}

}  // namespace

HANDLE FindFirstFlashCard(WIN32_FIND_DATAW* data) {
    simulated_call call(simulated_function::FindFirstFlashCard);
    HANDLE search = call.fails() ? INVALID_HANDLE_VALUE : start_card_search(data);
    call.trace([&] { return pointer_text(data) + reported_card(search != INVALID_HANDLE_VALUE, data); });
    return search;
}

BOOL FindNextFlashCard(HANDLE search, WIN32_FIND_DATAW* data) {
    simulated_call call(simulated_function::FindNextFlashCard);
    BOOL found = FALSE;
    if (!call.fails()) found = continue_search<card_search>(search, data);
    call.trace([&] { return pointer_text(search) + reported_card(found, data); });
    return found;
}
