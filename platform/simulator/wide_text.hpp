// Conversions between the program's 16-bit text and the host's UTF-8, used
// for host file names, traces and message boxes.
#pragma once

#include <string>

#include "simulator/windows_ce_api.hpp"

namespace device_simulator {

// False for text that is not valid UTF-16 (an unpaired surrogate).
bool utf16_to_utf8(const WCHAR* text, std::string& out);

// Valid text converted; an unpaired surrogate shows as U+FFFD. For traces.
std::string printable_utf8(const WCHAR* text);

std::u16string utf8_to_utf16(const std::string& text);

}  // namespace device_simulator
