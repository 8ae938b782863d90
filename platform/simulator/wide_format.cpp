// Counted formatting of 16-bit text, the C runtime's _vsnwprintf (the fatal
// report's formatter): integers, characters, strings and pointers with flags,
// width and precision. As in Microsoft's wide functions, %s takes a 16-bit
// string and %hs an 8-bit one. Floating point, %n and every other conversion
// are refused with -1 rather than guessed at, and nothing is ever written
// past `count`.
// A pure C-runtime function: not traced, and never made to fail on purpose.
#include <climits>
#include <cstdint>

#include "simulator/windows_ce_api.hpp"

namespace {

constexpr WCHAR null_text[] = u"(null)";
constexpr std::size_t max_digits = 22;  // octal digits of a 64-bit value

// va_list may be an array type, which cannot be passed on by reference;
// a copy wrapped in a struct can, so every helper reads the same list.
struct argument_list {
    va_list list;
};

enum class length_modifier { none, short_int, long_int, long_long };

// One conversion: %[flags][width][.precision][length]conversion.
struct conversion_spec {
    bool left_justify = false;  // '-'
    bool zero_pad = false;      // '0'
    bool plus_sign = false;     // '+'
    bool space_sign = false;    // ' '
    bool alternate = false;     // '#'
    int width = 0;
    int precision = -1;  // below zero: none given
    length_modifier length = length_modifier::none;
    WCHAR conversion = 0;
};

// Stores what fits in the caller's `count` characters and counts all of it,
// so that the result can say whether the text fitted.
class counted_output {
public:
    counted_output(WCHAR* buffer, std::size_t count) : buffer_(buffer), count_(count) {}

    void put(WCHAR c) { put_repeated(c, 1); }

    // Only what fits is written, so a huge width costs no more than the buffer.
    void put_repeated(WCHAR c, std::size_t times) {
        for (std::size_t i = length_; i < count_ && i - length_ < times; ++i) buffer_[i] = c;
        length_ = times > SIZE_MAX - length_ ? SIZE_MAX : length_ + times;
    }

    // The length, with a terminator, when the text is shorter than count;
    // count, without one, when it fills the buffer exactly; -1 when it was cut
    // or is too long for an int.
    int finish() {
        if (length_ > count_ || length_ > static_cast<std::size_t>(INT_MAX)) return -1;
        if (length_ < count_) buffer_[length_] = 0;
        return static_cast<int>(length_);
    }

private:
    WCHAR* buffer_;
    std::size_t count_;
    std::size_t length_ = 0;
};

bool is_digit(WCHAR c) {
    return c >= u'0' && c <= u'9';
}

// Decimal digits at p; false when the number does not fit in an int.
bool read_number(const WCHAR*& p, int& value) {
    value = 0;
    for (; is_digit(*p); ++p) {
        int digit = *p - u'0';
        if (value > (INT_MAX - digit) / 10) return false;
        value = value * 10 + digit;
    }
    return true;
}

void read_flags(const WCHAR*& p, conversion_spec& directive) {
    for (;; ++p) {
        switch (*p) {
        case u'-': directive.left_justify = true; break;
        case u'0': directive.zero_pad = true; break;
        case u'+': directive.plus_sign = true; break;
        case u' ': directive.space_sign = true; break;
        case u'#': directive.alternate = true; break;
        default: return;
        }
    }
}

// Width: digits or '*'. A negative '*' width left-justifies, as in C; INT_MIN
// has no positive counterpart and is refused.
bool read_width(const WCHAR*& p, argument_list& args, conversion_spec& directive) {
    if (*p != u'*') return read_number(p, directive.width);
    ++p;
    int width = va_arg(args.list, int);
    if (width == INT_MIN) return false;
    if (width < 0) directive.left_justify = true;
    directive.width = width < 0 ? -width : width;
    return true;
}

// Precision: '.' followed by digits, '*' or nothing (zero). A negative '*'
// precision stays negative and so counts as none given, as in C.
bool read_precision(const WCHAR*& p, argument_list& args, conversion_spec& directive) {
    if (*p != u'.') return true;
    ++p;
    if (*p != u'*') return read_number(p, directive.precision);
    ++p;
    directive.precision = va_arg(args.list, int);
    return true;
}

// h, l, ll or Microsoft's I64; the other I forms are not supported.
bool read_length(const WCHAR*& p, conversion_spec& directive) {
    if (*p == u'h') {
        directive.length = length_modifier::short_int;
        ++p;
    } else if (*p == u'l') {
        directive.length = p[1] == u'l' ? length_modifier::long_long : length_modifier::long_int;
        p += p[1] == u'l' ? 2 : 1;
    } else if (*p == u'I') {
        if (p[1] != u'6' || p[2] != u'4') return false;
        directive.length = length_modifier::long_long;
        p += 3;
    }
    return true;
}

// The conversion after a '%'; false for a width or precision beyond int or an
// unknown length form. A '%' at the end of the format leaves conversion 0.
bool read_spec(const WCHAR*& p, argument_list& args, conversion_spec& directive) {
    read_flags(p, directive);
    if (!read_width(p, args, directive) || !read_precision(p, args, directive) || !read_length(p, directive)) return false;
    directive.conversion = *p;
    if (*p != 0) ++p;
    return true;
}

std::size_t padding_for(const conversion_spec& directive, std::size_t body_length) {
    std::size_t width = static_cast<std::size_t>(directive.width);
    return width > body_length ? width - body_length : 0;
}

void pad_before(counted_output& out, const conversion_spec& directive, std::size_t body_length) {
    if (!directive.left_justify) out.put_repeated(u' ', padding_for(directive, body_length));
}

void pad_after(counted_output& out, const conversion_spec& directive, std::size_t body_length) {
    if (directive.left_justify) out.put_repeated(u' ', padding_for(directive, body_length));
}

long long signed_argument(argument_list& args, length_modifier length) {
    switch (length) {
    case length_modifier::short_int: return static_cast<short>(va_arg(args.list, int));
    case length_modifier::long_int: return va_arg(args.list, long);
    case length_modifier::long_long: return va_arg(args.list, long long);
    default: return va_arg(args.list, int);
    }
}

unsigned long long unsigned_argument(argument_list& args, length_modifier length) {
    switch (length) {
    case length_modifier::short_int: return static_cast<unsigned short>(va_arg(args.list, unsigned));
    case length_modifier::long_int: return va_arg(args.list, unsigned long);
    case length_modifier::long_long: return va_arg(args.list, unsigned long long);
    default: return va_arg(args.list, unsigned);
    }
}

// Digits of `value`, least significant first. Zero has none: C prints it
// through the default precision of one, so "%.0d" of zero prints nothing.
std::size_t reversed_digits(unsigned long long value, unsigned base, bool upper_case, char* digits) {
    const char* symbols = upper_case ? "0123456789ABCDEF" : "0123456789abcdef";
    std::size_t count = 0;
    for (; value != 0; value /= base) digits[count++] = symbols[value % base];
    return count;
}

std::size_t text_length(const WCHAR* text) {
    std::size_t length = 0;
    while (text[length] != 0) ++length;
    return length;
}

// An integer as C lays it out: padding, prefix (sign or 0x), zeros up to the
// precision, digits. The '0' flag turns the padding into zeros after the
// prefix, unless a precision is given; '#' with octal forces a leading zero.
void put_integer(counted_output& out, const conversion_spec& directive, const WCHAR* prefix,
                 unsigned long long magnitude, unsigned base, bool upper_case) {
    char digits[max_digits];
    std::size_t digit_count = reversed_digits(magnitude, base, upper_case, digits);
    std::size_t precision = directive.precision < 0 ? 1 : static_cast<std::size_t>(directive.precision);
    std::size_t zeros = precision > digit_count ? precision - digit_count : 0;
    if (directive.alternate && base == 8 && zeros == 0) zeros = 1;
    std::size_t padding = padding_for(directive, text_length(prefix) + zeros + digit_count);
    if (directive.zero_pad && !directive.left_justify && directive.precision < 0) {
        zeros += padding;
        padding = 0;
    }
    if (!directive.left_justify) out.put_repeated(u' ', padding);
    for (const WCHAR* c = prefix; *c != 0; ++c) out.put(*c);
    out.put_repeated(u'0', zeros);
    while (digit_count > 0) out.put(static_cast<WCHAR>(digits[--digit_count]));
    if (directive.left_justify) out.put_repeated(u' ', padding);
}

// The sign of %d and %i: '-', or '+' or ' ' when a flag asks for one.
const WCHAR* sign_prefix(const conversion_spec& directive, bool negative) {
    if (negative) return u"-";
    if (directive.plus_sign) return u"+";
    return directive.space_sign ? u" " : u"";
}

bool put_signed(counted_output& out, const conversion_spec& directive, argument_list& args) {
    long long value = signed_argument(args, directive.length);
    unsigned long long magnitude = static_cast<unsigned long long>(value);
    if (value < 0) magnitude = 0ULL - magnitude;  // defined for LLONG_MIN too, unlike -value
    put_integer(out, directive, sign_prefix(directive, value < 0), magnitude, 10, false);
    return true;
}

// %u, %o, %x and %X; the sign flags do not apply, '#' prefixes nonzero hex with 0x.
bool put_unsigned(counted_output& out, const conversion_spec& directive, argument_list& args, unsigned base,
                  bool upper_case) {
    unsigned long long value = unsigned_argument(args, directive.length);
    const WCHAR* prefix = u"";
    if (base == 16 && directive.alternate && value != 0) prefix = upper_case ? u"0X" : u"0x";
    put_integer(out, directive, prefix, value, base, upper_case);
    return true;
}

// %p as Microsoft prints it: every hex digit of the address, upper case, no
// prefix. Its own precision and the '0' and '#' flags play no part.
bool put_pointer(counted_output& out, const conversion_spec& directive, argument_list& args) {
    if (directive.length != length_modifier::none) return false;
    std::uintptr_t address = reinterpret_cast<std::uintptr_t>(va_arg(args.list, void*));
    conversion_spec all_digits = directive;
    all_digits.precision = 2 * sizeof(void*);
    all_digits.alternate = false;
    put_integer(out, all_digits, u"", address, 16, true);
    return true;
}

// %c and %lc take a 16-bit character, %hc an 8-bit one; both come as int.
bool put_character(counted_output& out, const conversion_spec& directive, argument_list& args) {
    if (directive.length == length_modifier::long_long) return false;
    int value = va_arg(args.list, int);
    WCHAR c = directive.length == length_modifier::short_int ? static_cast<unsigned char>(value) : static_cast<WCHAR>(value);
    pad_before(out, directive, 1);
    out.put(c);
    pad_after(out, directive, 1);
    return true;
}

WCHAR widened(char c) {
    return static_cast<unsigned char>(c);  // one byte, one character
}

WCHAR widened(WCHAR c) {
    return c;
}

// The characters of `text` that a precision lets through. It reads no further
// than the precision, since with one the text need not be terminated.
template <typename Char>
std::size_t printed_length(const Char* text, int precision) {
    std::size_t limit = precision < 0 ? SIZE_MAX : static_cast<std::size_t>(precision);
    std::size_t length = 0;
    while (length < limit && text[length] != 0) ++length;
    return length;
}

template <typename Char>
void put_text(counted_output& out, const conversion_spec& directive, const Char* text) {
    std::size_t length = printed_length(text, directive.precision);
    pad_before(out, directive, length);
    for (std::size_t i = 0; i < length; ++i) out.put(widened(text[i]));
    pad_after(out, directive, length);
}

// %s and %ls take 16-bit text, %hs 8-bit text; a null pointer prints "(null)".
bool put_string(counted_output& out, const conversion_spec& directive, argument_list& args) {
    if (directive.length == length_modifier::long_long) return false;
    if (directive.length != length_modifier::short_int) {
        const WCHAR* text = va_arg(args.list, const WCHAR*);
        put_text(out, directive, text ? text : null_text);
        return true;
    }
    const char* text = va_arg(args.list, const char*);
    if (text)
        put_text(out, directive, text);
    else
        put_text(out, directive, null_text);
    return true;
}

// One conversion with its argument; false for one we do not support. That
// includes floating point, %n (it writes through an argument) and a '%'
// conversion with anything between the two signs: only "%%" prints a '%'.
bool put_conversion(counted_output& out, const conversion_spec& directive, argument_list& args) {
    switch (directive.conversion) {
    case u'd':
    case u'i': return put_signed(out, directive, args);
    case u'u': return put_unsigned(out, directive, args, 10, false);
    case u'o': return put_unsigned(out, directive, args, 8, false);
    case u'x': return put_unsigned(out, directive, args, 16, false);
    case u'X': return put_unsigned(out, directive, args, 16, true);
    case u'c': return put_character(out, directive, args);
    case u's': return put_string(out, directive, args);
    case u'p': return put_pointer(out, directive, args);
    default: return false;
    }
}

// Formats into `out`, stopping at the first conversion that cannot be done.
bool format_into(counted_output& out, const WCHAR* format, argument_list& args) {
    for (const WCHAR* p = format; *p != 0;) {
        if (*p != u'%') {
            out.put(*p++);
        } else if (p[1] == u'%') {
            out.put(u'%');
            p += 2;
        } else {
            conversion_spec directive;
            ++p;
            if (!read_spec(p, args, directive) || !put_conversion(out, directive, args)) return false;
        }
    }
    return true;
}

}  // namespace

// A null format, and a null buffer with room claimed in it, return -1 and
// write nothing. A null buffer with count 0 is a buffer without room: 0 for
// empty text, -1 otherwise. A failed conversion returns -1 and leaves what was
// formatted before it in the buffer, unterminated.
int _vsnwprintf(WCHAR* buffer, std::size_t count, const WCHAR* format, va_list arguments) {
    if (!format || (!buffer && count != 0)) return -1;
    counted_output out(buffer, count);
    argument_list args;
    va_copy(args.list, arguments);
    bool formatted = format_into(out, format, args);
    va_end(args.list);
    return formatted ? out.finish() : -1;
}
