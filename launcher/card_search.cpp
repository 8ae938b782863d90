// Storage-card enumeration and the existence probe. Both close their search
// handles at once: the program keeps nothing open.
#include "card_search.hpp"

namespace launcher {
namespace {

// The record's name, up to its terminator but never past the field.
wide_string name_of(const WIN32_FIND_DATAW& record) {
    std::size_t length = 0;
    while (length < MAX_PATH && record.cFileName[length] != 0) ++length;
    return wide_string(record.cFileName, length);
}

}  // namespace

bool find_storage_cards(card_list& cards) {
    WIN32_FIND_DATAW card = {};
    HANDLE search = FindFirstFlashCard(&card);
    if (search == INVALID_HANDLE_VALUE) return !cards.empty();
    do {
        cards.push_back(TEXT("\\") + name_of(card));
    } while (FindNextFlashCard(search, &card));
    FindClose(search);
    return !cards.empty();
}

bool file_exists(const wide_string& path) {
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

}  // namespace launcher
