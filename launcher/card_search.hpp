// Finding the storage cards and probing them for files.
#pragma once

#include "wide_string.hpp"

namespace launcher {

// Appends "\" + name for each card the storage-card library reports, in its
// order; true when the list is then non-empty.
bool find_storage_cards(card_list& cards);

// True when a find-first search for the path matches anything, a folder too.
bool file_exists(const wide_string& path);

}  // namespace launcher
