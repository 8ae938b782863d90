// The storage-card enumeration on desktop Windows, which has no storage-card
// library. The cards are the folders named in the environment variable
// TARVOLEN_STORAGE_CARDS, separated by ';', in that order: card NAME is the
// folder \NAME on the current drive, reported like the find-data record of
// that folder, with the temporary attribute that card folders carry on the
// device. A name without such a folder is no card; no variable, or an empty
// one, means no card at all.
#include "windows_ce.hpp"

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace {

constexpr const wchar_t* cards_variable = L"TARVOLEN_STORAGE_CARDS";

// The names still to report for one enumeration.
struct card_search {
    std::vector<std::wstring> names;
    std::size_t next = 0;
};

// The search handle is the real find handle of the first card's folder, so
// that the caller's FindClose ends it as on the device. Its entry here is
// emptied when the enumeration runs out and replaced when a later search gets
// the same handle value, so the table holds at most one entry per value.
std::mutex searches_lock;
std::map<HANDLE, card_search> searches;

std::vector<std::wstring> named_cards() {
    DWORD size = GetEnvironmentVariableW(cards_variable, nullptr, 0);
    if (size == 0) return {};
    std::wstring value(size, L'\0');
    DWORD length = GetEnvironmentVariableW(cards_variable, &value[0], size);
    value.resize(length < size ? length : 0);
    std::vector<std::wstring> names;
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t end = value.find(L';', start);
        if (end == std::wstring::npos) end = value.size();
        if (end > start) names.push_back(value.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

// A card name is one folder name: a separator or a wildcard would make the
// search below find something other than the folder \NAME.
bool is_folder_name(const std::wstring& name) {
    return name.find_first_of(L"\\/*?") == std::wstring::npos;
}

// Searches for the folder \name; on success fills the record and returns the
// open find handle, else INVALID_HANDLE_VALUE.
HANDLE find_card_folder(const std::wstring& name, WIN32_FIND_DATAW* data) {
    if (!is_folder_name(name)) return INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((L"\\" + name).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return search;
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        FindClose(search);
        return INVALID_HANDLE_VALUE;
    }
    found.dwFileAttributes |= FILE_ATTRIBUTE_TEMPORARY;
    *data = found;
    return search;
}

}  // namespace

extern "C" HANDLE FindFirstFlashCard(WIN32_FIND_DATAW* data) {
    if (!data) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    card_search search;
    search.names = named_cards();
    while (search.next < search.names.size()) {
        HANDLE found = find_card_folder(search.names[search.next++], data);
        if (found != INVALID_HANDLE_VALUE) {
            std::lock_guard<std::mutex> guard(searches_lock);
            searches[found] = search;
            return found;
        }
    }
    SetLastError(ERROR_NO_MORE_FILES);
    return INVALID_HANDLE_VALUE;
}

extern "C" BOOL FindNextFlashCard(HANDLE search, WIN32_FIND_DATAW* data) {
    std::lock_guard<std::mutex> guard(searches_lock);
    auto entry = searches.find(search);
    if (entry == searches.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!data) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    card_search& cards = entry->second;
    while (cards.next < cards.names.size()) {
        HANDLE found = find_card_folder(cards.names[cards.next++], data);
        if (found != INVALID_HANDLE_VALUE) {
            FindClose(found);
            return TRUE;
        }
    }
    cards.names.clear();
    cards.next = 0;
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
}
