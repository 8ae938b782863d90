// A search in progress, as FindFirstFileW and FindFirstFlashCard hand it out:
// the entries found, read one after the other; FindClose ends either kind.
#pragma once

#include <string>
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

// Hands out the search's next entry, or sets ERROR_NO_MORE_FILES.
BOOL next_search_entry(entry_search& search, WIN32_FIND_DATAW* data);

}  // namespace device_simulator
