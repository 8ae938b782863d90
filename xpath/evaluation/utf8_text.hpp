// Characters of UTF-8 text, for the string functions that count and cut:
// a character is one code point of valid UTF-8, and a byte that is not part
// of valid UTF-8 counts as one character of its own, so that no cut ever
// splits a sequence and no byte is lost. Comparisons stay byte for byte.
#pragma once

#include <cstddef>
#include <string_view>

namespace xpath {

// The bytes of the character that starts at `offset` (1 to 4; 0 at the end).
std::size_t character_size(std::string_view text, std::size_t offset);

std::size_t character_count(std::string_view text);

// The offset of the first occurrence of `part` in `text` that starts on a
// character, or npos. The empty part is found at 0.
std::size_t find_at_character(std::string_view text, std::string_view part);

}  // namespace xpath
