// The lexeme chain. Every removal frees the lexeme at once, so whatever state
// a decode ends in, destruction has exactly the linked lexemes left to free.
#include "lexeme_chain.hpp"

namespace xpath {

lexeme_chain::lexeme_chain() : last(&sentinel), cursor(nullptr) {
    sentinel.next = &sentinel;
    sentinel.prev = &sentinel;
}

lexeme_chain::~lexeme_chain() {
    for (lexeme* current = sentinel.next; current != &sentinel;) {
        lexeme* next = current->next;
        delete current;
        current = next;
    }
}

void lexeme_chain::append_lexeme(lex_class kind, const char* bytes, std::size_t count) {
    lexeme* added = new lexeme;
    added->text.assign(bytes, count);
    added->kind = kind;
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
    delete gone;
}

}  // namespace xpath
