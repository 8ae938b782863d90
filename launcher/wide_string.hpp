// The launcher's text and list types: 16-bit strings for every path it builds
// and the ordered list of card roots.
#pragma once

#include <string>
#include <vector>

#include "windows_ce.hpp"

namespace launcher {

using wide_string = std::basic_string<WCHAR>;
using card_list = std::vector<wide_string>;

}  // namespace launcher
