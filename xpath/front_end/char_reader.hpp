// char_reader: the expression as the scanner sees it, an owned zero-terminated
// copy with a position that only moves forward. The scanner (lexer) reads the
// byte at `position` directly and advances one byte at a time.
#pragma once

#include <cstdint>
#include <memory>

namespace xpath {

class char_reader {
public:
    // Copies the expression; a null expression reads as the empty one.
    explicit char_reader(const char* expression);

    std::int32_t length;          // bytes of the copy with its terminator (saturated)
    std::unique_ptr<char[]> text; // the owned copy
    const char* position;         // the current byte
    const char* end;              // the terminating zero byte
    bool more;                    // position is before end

    char current() const { return *position; }
    // Moves one byte on and returns the byte passed over; 0 when already at the end.
    char advance();
    // The byte after the current one; the terminator at or just before the end.
    char peek() const;
};

}  // namespace xpath
