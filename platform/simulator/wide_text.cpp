// UTF-16 <-> UTF-8 for the simulator's boundary with the host.
#include "wide_text.hpp"

namespace device_simulator {
namespace {

constexpr char32_t replacement_character = 0xFFFD;

bool is_high_surrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool is_low_surrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Reads one code point at text[i], advancing i; false on an unpaired surrogate.
bool next_code_point(const WCHAR* text, std::size_t& i, char32_t& code_point) {
    char32_t unit = text[i++];
    if (is_low_surrogate(unit)) return false;
    if (!is_high_surrogate(unit)) {
        code_point = unit;
        return true;
    }
    char32_t low = text[i];
    if (!is_low_surrogate(low)) return false;
    ++i;
    code_point = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
    return true;
}

void append_utf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

bool utf16_to_utf8(const WCHAR* text, std::string& out) {
    out.clear();
    if (!text) return true;
    for (std::size_t i = 0; text[i] != 0;) {
        char32_t c;
        if (!next_code_point(text, i, c)) return false;
        append_utf8(c, out);
    }
    return true;
}

std::string printable_utf8(const WCHAR* text) {
    std::string out;
    if (!text) return out;
    for (std::size_t i = 0; text[i] != 0;) {
        char32_t c;
        if (!next_code_point(text, i, c)) c = replacement_character;
        append_utf8(c, out);
    }
    return out;
}

std::u16string utf8_to_utf16(const std::string& text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        int extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
        char32_t c = extra == 0 ? lead : extra == 1 ? (lead & 0x1F) : extra == 2 ? (lead & 0x0F) : (lead & 0x07);
        bool valid = extra >= 0;
        for (int k = 1; valid && k <= extra; ++k) {
            if (i + k >= text.size()) { valid = false; break; }
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) valid = false;
            c = (c << 6) | (next & 0x3F);
        }
        if (!valid || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            out += static_cast<char16_t>(replacement_character);
            ++i;
            continue;
        }
        i += extra + 1;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

}  // namespace device_simulator
