// The storage-card enumeration on desktop Windows, which has no storage-card
// library. The cards are the folders named in the environment variable
// TARVOLEN_STORAGE_CARDS, separated by ';', in that order: card NAME is the
// folder \NAME on the current drive, reported like the find-data record of
// that folder, with the temporary attribute that card folders carry on the
// device. A name without such a folder is no card; no variable, or an empty
// one, means no card at all.
#include "windows_ce.hpp"

#include <algorithm>
#include <cwchar>
#include <vector>

namespace {

constexpr const wchar_t* cards_variable = L"TARVOLEN_STORAGE_CARDS";

// Zero-terminated 16-bit text. Plain vectors rather than std::wstring: this
// file is linked into launcher.exe, and the library's ready-made wide string
// would add its whole compiled instantiation to the program.
using wide_text = std::vector<wchar_t>;

// The names still to report for one enumeration, under its search handle.
struct card_search {
    HANDLE handle = INVALID_HANDLE_VALUE;
    std::vector<wide_text> names;
    std::size_t next = 0;
};

// The search handle is the real find handle of the first card's folder, so
// that the caller's FindClose ends it as on the device. Its entry here is
// emptied when the enumeration runs out and replaced when a later search gets
// the same handle value, so the table holds at most one entry per value.
SRWLOCK searches_lock = SRWLOCK_INIT;
std::vector<card_search> searches;

class searches_guard {
public:
    searches_guard() { AcquireSRWLockExclusive(&searches_lock); }
    ~searches_guard() { ReleaseSRWLockExclusive(&searches_lock); }
    searches_guard(const searches_guard&) = delete;
    searches_guard& operator=(const searches_guard&) = delete;
};

card_search* search_of(HANDLE handle) {
    for (card_search& search : searches)
        if (search.handle == handle) return &search;
    return nullptr;
}

std::vector<wide_text> named_cards() {
    DWORD size = GetEnvironmentVariableW(cards_variable, nullptr, 0);
    if (size == 0) return {};
    wide_text value(size, L'\0');
    DWORD length = GetEnvironmentVariableW(cards_variable, value.data(), size);
    value.resize(length < size ? length : 0);
    std::vector<wide_text> names;
    auto start = value.begin();
    while (start <= value.end()) {
        auto end = std::find(start, value.end(), L';');
        if (end > start) {
            names.emplace_back(start, end);
            names.back().push_back(L'\0');
        }
        if (end == value.end()) break;
        start = end + 1;
    }
    return names;
}

// A card name is one folder name: a separator or a wildcard would make the
// search below find something other than the folder \NAME.
bool is_folder_name(const wide_text& name) {
    return std::wcspbrk(name.data(), L"\\/*?") == nullptr;
}

// Searches for the folder \name; on success fills the record and returns the
// open find handle, else INVALID_HANDLE_VALUE.
HANDLE find_card_folder(const wide_text& name, WIN32_FIND_DATAW* data) {
    if (!is_folder_name(name)) return INVALID_HANDLE_VALUE;
    wide_text path(1, L'\\');
    path.insert(path.end(), name.begin(), name.end());
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW(path.data(), &found);
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
            searches_guard guard;
            search.handle = found;
            if (card_search* earlier = search_of(found))
                *earlier = std::move(search);
            else
                searches.push_back(std::move(search));
            return found;
        }
    }
    SetLastError(ERROR_NO_MORE_FILES);
    return INVALID_HANDLE_VALUE;
}

extern "C" BOOL FindNextFlashCard(HANDLE search, WIN32_FIND_DATAW* data) {
    searches_guard guard;
    card_search* cards = search_of(search);
    if (!cards) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!data) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    while (cards->next < cards->names.size()) {
        HANDLE found = find_card_folder(cards->names[cards->next++], data);
        if (found != INVALID_HANDLE_VALUE) {
            FindClose(found);
            return TRUE;
        }
    }
    cards->names.clear();
    cards->next = 0;
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
}
