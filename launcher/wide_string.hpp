// The launcher's text and list types: 16-bit strings for every path it builds
// and the ordered list of card roots, both with their storage in the private
// heap. When the heap has no memory left they throw std::bad_alloc, which
// nothing catches: the program ends instead of writing through a null pointer.
#pragma once

#include <string>
#include <vector>

#include "runtime/heap_allocator.hpp"
#include "windows_ce.hpp"

namespace launcher {

using wide_string = std::basic_string<WCHAR, std::char_traits<WCHAR>, runtime::heap_allocator<WCHAR>>;
using card_list = std::vector<wide_string, runtime::heap_allocator<wide_string>>;

}  // namespace launcher
