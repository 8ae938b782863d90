// The lexeme chain. Every removal frees the lexeme at once, so whatever state
// a decode ends in, destruction has exactly the linked lexemes left to free.
#include "lexeme_chain.hpp"

#include <functional>

namespace xpath {

lexeme_chain::lexeme_chain() : last(&sentinel), cursor(nullptr) {
    sentinel.next = &sentinel;
    sentinel.prev = &sentinel;
}

lexeme_chain::~lexeme_chain() {
    for (lexeme* current = sentinel.next; current != &sentinel;) {
        lexeme* next = current->next;
        free_lexeme(current);
        current = next;
    }
}

void lexeme_chain::append_lexeme(lex_class kind, const char* bytes, std::size_t count, std::int32_t offset) {
    lexeme* added = new_lexeme();
    added->text.assign(bytes, count);
    added->kind = kind;
    added->offset = offset;
    added->prev = last;
    added->next = last->next;
    last->next->prev = added;
    last->next = added;
    last = added;
}

lexeme* lexeme_chain::lexeme_at(lexeme* from, int n) {
    for (int step = 0; step < n; ++step) {
        if (!from) return nullptr;
        from = from->next;
        if (from->kind == lex_class::null) return nullptr;
    }
    return from;
}

void lexeme_chain::advance_cursor(int n) {
    if (cursor) cursor = lexeme_at(cursor, n);
}

lexeme* lexeme_chain::lexeme_after_cursor(int n) const {
    return cursor ? lexeme_at(cursor, n) : nullptr;
}

void lexeme_chain::retype_current(lex_class kind, const char* text) {
    if (!cursor) return;
    cursor->kind = kind;
    cursor->text = text;
}

void lexeme_chain::remove_current() {
    if (!cursor || cursor == &sentinel) return;
    lexeme* gone = cursor;
    cursor = gone->next == &sentinel ? nullptr : gone->next;
    unlink_and_free(gone);
}

void lexeme_chain::remove_next() {
    lexeme* gone = lexeme_after_cursor(1);
    if (gone) unlink_and_free(gone);
}

std::size_t lexeme_chain::size() const {
    std::size_t count = 0;
    for (const lexeme* current = sentinel.next; current != &sentinel; current = current->next) ++count;
    return count;
}

// `last` follows a removal too, so that it never points at freed memory.
void lexeme_chain::unlink_and_free(lexeme* gone) {
    if (last == gone) last = gone->prev;
    gone->prev->next = gone->next;
    gone->next->prev = gone->prev;
    free_lexeme(gone);
}

lexeme* lexeme_chain::new_lexeme() {
    if (pool_used_ < pooled_lexemes) return &pool_[pool_used_++];
    return new lexeme;
}

// A pooled lexeme lives as long as the chain; only its text is let go.
void lexeme_chain::free_lexeme(lexeme* gone) {
    std::less<const lexeme*> before;
    bool pooled = !before(gone, pool_) && before(gone, pool_ + pooled_lexemes);
    if (!pooled) {
        delete gone;
        return;
    }
    gone->text = std::string();
    gone->next = gone->prev = nullptr;
}

}  // namespace xpath
