// A search in progress, as FindFirstFileW and FindFirstFlashCard hand it out:
// the entries found, read one after the other; FindClose ends either kind.
// Both kinds open and continue the same way, written once here.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "handle_table.hpp"

namespace device_simulator {

struct entry_search : kernel_object {
    std::vector<WIN32_FIND_DATAW> entries;
    std::size_t next = 1;  // the first entry is returned by the call that opens the search
};

struct file_search : entry_search {};
struct card_search : entry_search {};

// Fills a find-data record from a host file; false when it does not exist or
// its name does not fit the record.
bool describe_host_file(const std::string& host_path, const std::u16string& name, WIN32_FIND_DATAW& data);

// Opens a search of type Search over `entries`: the first goes to `data` and
// the handle hands out the rest. With no entries, the invalid handle and
// `none_found` as the last error.
template <class Search>
HANDLE open_search(std::vector<WIN32_FIND_DATAW> entries, WIN32_FIND_DATAW* data, DWORD none_found) {
    if (entries.empty()) {
        SetLastError(none_found);
        return INVALID_HANDLE_VALUE;
    }
    auto search = std::make_shared<Search>();
    search->entries = std::move(entries);
    *data = search->entries.front();
    return open_handle(search);
}

// Hands out the next entry of the Search behind `handle`; FALSE with
// ERROR_NO_MORE_FILES at the end, or with the reason for a bad argument.
template <class Search>
BOOL continue_search(HANDLE handle, WIN32_FIND_DATAW* data) {
    std::shared_ptr<Search> search = object_of<Search>(handle);
    if (!search || !data) {
        SetLastError(search ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (search->next >= search->entries.size()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    *data = search->entries[search->next++];
    return TRUE;
}

}  // namespace device_simulator
