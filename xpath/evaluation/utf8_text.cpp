// UTF-8 sequences as the standard defines them: no overlong forms, no
// surrogates, nothing beyond U+10FFFF. Whatever else a byte starts is one
// character of one byte.
#include "utf8_text.hpp"

namespace xpath {
namespace {

bool is_continuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length a lead byte announces, and the range its first continuation
// byte must lie in; 1 for any byte that leads no sequence.
struct sequence_shape {
    std::size_t length;
    unsigned char lowest_second, highest_second;
};

sequence_shape shape_of(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return {2, 0x80, 0xBF};
    if (lead == 0xE0) return {3, 0xA0, 0xBF};  // no overlong three-byte forms
    if (lead == 0xED) return {3, 0x80, 0x9F};  // no surrogates
    if (lead >= 0xE1 && lead <= 0xEF) return {3, 0x80, 0xBF};
    if (lead == 0xF0) return {4, 0x90, 0xBF};  // no overlong four-byte forms
    if (lead >= 0xF1 && lead <= 0xF3) return {4, 0x80, 0xBF};
    if (lead == 0xF4) return {4, 0x80, 0x8F};  // nothing beyond U+10FFFF
    return {1, 0, 0};
}

}  // namespace

std::size_t character_size(std::string_view text, std::size_t offset) {
    if (offset >= text.size()) return 0;
    sequence_shape shape = shape_of(static_cast<unsigned char>(text[offset]));
    if (shape.length == 1 || offset + shape.length > text.size()) return 1;
    auto second = static_cast<unsigned char>(text[offset + 1]);
    if (second < shape.lowest_second || second > shape.highest_second) return 1;
    for (std::size_t k = 2; k < shape.length; ++k)
        if (!is_continuation(static_cast<unsigned char>(text[offset + k]))) return 1;
    return shape.length;
}

std::size_t character_count(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t offset = 0; offset < text.size(); offset += character_size(text, offset)) ++count;
    return count;
}

std::size_t find_at_character(std::string_view text, std::string_view part) {
    for (std::size_t offset = 0; offset <= text.size(); offset += character_size(text, offset)) {
        if (text.compare(offset, part.size(), part) == 0) return offset;
        if (offset == text.size()) break;
    }
    return std::string_view::npos;
}

}  // namespace xpath
