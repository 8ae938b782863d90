// The lexeme chain: lexeme_at at its edges, cursor moves, rewriting and
// removal. Destruction in every state is checked by the sanitizer build.
#include <gtest/gtest.h>

#include <cstring>

#include "recording_front_end.hpp"
#include "front_end/lexeme_chain.hpp"

using xpath::lex_class;
using xpath::lexeme_chain;

namespace {

void fill(lexeme_chain& chain, std::initializer_list<const char*> names) {
    for (const char* name : names) chain.append_lexeme(lex_class::ncname, name, std::strlen(name));
}

}  // namespace

TEST(lexeme_chain, empty_chain_edges) {
    lexeme_chain chain;
    EXPECT_EQ(chain.first(), nullptr);
    EXPECT_EQ(chain.last, &chain.sentinel);
    EXPECT_EQ(chain.cursor, nullptr);
    EXPECT_EQ(lexeme_chain::lexeme_at(&chain.sentinel, 0), &chain.sentinel);
    EXPECT_EQ(lexeme_chain::lexeme_at(&chain.sentinel, 1), nullptr);
    EXPECT_EQ(lexeme_chain::lexeme_at(nullptr, 0), nullptr);
    EXPECT_EQ(lexeme_chain::lexeme_at(nullptr, 3), nullptr);
    chain.advance_cursor(1);
    chain.remove_current();
    chain.remove_next();
    chain.retype_current(lex_class::star, "*");
    EXPECT_EQ(chain.cursor, nullptr);
    EXPECT_EQ(chain.size(), 0u);
}

TEST(lexeme_chain, lexeme_at_stops_at_the_end) {
    lexeme_chain chain;
    fill(chain, {"a", "b", "c"});
    xpath::lexeme* a = chain.first();
    struct row {
        int n;
        const char* text;  // nullptr: none
    };
    const row rows[] = {{-5, "a"}, {0, "a"}, {1, "b"}, {2, "c"}, {3, nullptr}, {100, nullptr}};
    for (const row& r : rows) {
        SCOPED_TRACE(r.n);
        xpath::lexeme* found = lexeme_chain::lexeme_at(a, r.n);
        if (r.text)
            EXPECT_EQ(found->text, r.text);
        else
            EXPECT_EQ(found, nullptr);
    }
    EXPECT_EQ(lexeme_chain::lexeme_at(chain.last, 1), nullptr);  // never the sentinel
}

TEST(lexeme_chain, cursor_moves_and_rewrites) {
    lexeme_chain chain;
    fill(chain, {"a", "b", "c", "d"});
    chain.cursor = chain.first();
    chain.advance_cursor(1);
    EXPECT_EQ(chain.cursor->text, "b");
    EXPECT_EQ(chain.lexeme_after_cursor(1)->text, "c");
    chain.retype_current(lex_class::double_slash, "//");
    EXPECT_EQ(chain.cursor->kind, lex_class::double_slash);
    chain.remove_next();  // c
    EXPECT_EQ(chain.cursor->text, "//");
    chain.remove_current();  // the cursor moves on to d
    EXPECT_EQ(chain.cursor->text, "d");
    EXPECT_EQ(test_support::lexemes_of(chain), (std::vector<std::string>{"28 a", "28 d"}));
    chain.remove_next();  // nothing after d
    chain.remove_current();  // d was last: the cursor is none and `last` follows
    EXPECT_EQ(chain.cursor, nullptr);
    EXPECT_EQ(chain.last->text, "a");
    fill(chain, {"e"});
    EXPECT_EQ(test_support::lexemes_of(chain), (std::vector<std::string>{"28 a", "28 e"}));
    chain.cursor = chain.first();
    chain.advance_cursor(5);
    EXPECT_EQ(chain.cursor, nullptr);
}

TEST(lexeme_chain, appended_text_is_an_exact_copy) {
    lexeme_chain chain;
    const char bytes[] = "abcdef";
    chain.append_lexeme(lex_class::string_literal, bytes + 1, 3);
    chain.append_lexeme(lex_class::string_literal, bytes, 0);
    EXPECT_EQ(test_support::lexemes_of(chain), (std::vector<std::string>{"30 bcd", "30 "}));
}

TEST(lexeme_chain, destruction_frees_whatever_the_cursor) {
    for (int cursor_steps : {-1, 0, 1, 5}) {
        SCOPED_TRACE(cursor_steps);
        auto chain = std::make_unique<lexeme_chain>();
        fill(*chain, {"a", "b", "c"});
        if (cursor_steps >= 0) {
            chain->cursor = chain->first();
            chain->advance_cursor(cursor_steps);
        }
        chain.reset();  // the sanitizer build reports any lexeme left behind
    }
}
