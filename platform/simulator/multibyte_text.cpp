// wcstombs for the simulator: 16-bit text to the host's multibyte encoding,
// which is UTF-8 because host file names are UTF-8. The conversion itself is
// wide_text's; this file adds the C library's counting and cutting rules.
// A pure C-runtime function: not traced, and never made to fail on purpose.
#include <cstring>
#include <string>

#include "wide_text.hpp"

namespace {

constexpr std::size_t conversion_failed = static_cast<std::size_t>(-1);

bool is_continuation_byte(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The longest start of `bytes` within `max_bytes` that ends between two
// characters, so that no character is ever written in part.
std::size_t whole_characters_within(const std::string& bytes, std::size_t max_bytes) {
    if (bytes.size() <= max_bytes) return bytes.size();
    std::size_t length = max_bytes;
    while (length > 0 && is_continuation_byte(bytes[length])) --length;
    return length;
}

}  // namespace

// The whole source is checked before anything is written: an unpaired
// surrogate anywhere, even beyond max_bytes, or a null source returns -1 and
// leaves the destination as it was. As in C, the terminator is written only
// when the whole text was converted and a byte is left for it.
std::size_t wcstombs(char* destination, const WCHAR* source, std::size_t max_bytes) {
    std::string bytes;
    if (!source || !device_simulator::utf16_to_utf8(source, bytes)) return conversion_failed;
    if (!destination) return bytes.size();
    std::size_t length = whole_characters_within(bytes, max_bytes);
    std::memcpy(destination, bytes.data(), length);
    if (length == bytes.size() && length < max_bytes) destination[length] = '\0';
    return length;
}
