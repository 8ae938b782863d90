// lexeme_chain: the lexemes of one expression in text order, a circular
// doubly linked list through a sentinel of kind null, with a cursor. The
// scanner appends, refinement rewrites in place, the grammar walker (derived
// from this class) moves the cursor. The chain owns every lexeme.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "lex_class.hpp"

namespace xpath {

struct lexeme {
    std::string text;  // the lexeme's bytes; a literal without its quotes
    lex_class kind = lex_class::null;
    std::int32_t offset = 0;  // where its first byte stands in the expression (a literal: its opening quote)
    lexeme* next = nullptr;
    lexeme* prev = nullptr;
};

class lexeme_chain {
public:
    lexeme_chain();
    virtual ~lexeme_chain();
    lexeme_chain(const lexeme_chain&) = delete;
    lexeme_chain& operator=(const lexeme_chain&) = delete;

    // Links a new lexeme with a copy of `count` bytes after `last`. For the scanner.
    void append_lexeme(lex_class kind, const char* bytes, std::size_t count, std::int32_t offset = 0);

    // `from` itself for n <= 0; else n steps along next, or none as soon as a
    // step starts from none or lands on the sentinel.
    static lexeme* lexeme_at(lexeme* from, int n);
    // The cursor moves n lexemes on (to none past the end); without one, nothing.
    void advance_cursor(int n);
    // lexeme_at(cursor, n), none without a cursor.
    lexeme* lexeme_after_cursor(int n) const;
    // The cursor lexeme takes a new kind and a copy of the text.
    void retype_current(lex_class kind, const char* text);
    // Unlinks and frees the cursor lexeme; the cursor moves to its successor.
    void remove_current();
    // Unlinks and frees the lexeme after the cursor; the cursor stays.
    void remove_next();

    // The first lexeme, none for an empty chain.
    lexeme* first() const { return sentinel.next == &sentinel ? nullptr : sentinel.next; }
    // The last lexeme, none for an empty chain.
    lexeme* last_lexeme() const { return sentinel.prev == &sentinel ? nullptr : sentinel.prev; }
    std::size_t size() const;

    lexeme sentinel;
    lexeme* last;    // the lexeme appended most recently; the sentinel while empty
    lexeme* cursor;  // none past the end
    // Where a literal opened that the expression never closes; -1 when none.
    // The scanner drops such a literal with the rest of the text, and the
    // walker reports it.
    std::int32_t unterminated_literal_offset = -1;

private:
    void unlink_and_free(lexeme* gone);
    lexeme* new_lexeme();
    void free_lexeme(lexeme* gone);

    // The first lexemes come from the chain itself, so that a short
    // expression (the launcher's has eight) allocates none; further ones
    // are allocated one by one. A freed pooled slot is not reused.
    static constexpr std::size_t pooled_lexemes = 16;
    lexeme pool_[pooled_lexemes];
    std::size_t pool_used_ = 0;
};

}  // namespace xpath
