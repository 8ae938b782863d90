// The scanner's five states and the refinement pass. A space between two
// operator characters keeps them apart, because spaces are only removed when
// refinement's cursor reaches them: "/ /" stays two slashes.
#include "lexer.hpp"

#include <cstddef>
#include <cstring>
#include <limits>
#include <string>

namespace xpath {
namespace {

enum class scan_state { between, name, number, single_quoted, double_quoted };

// The scanner's working state over one reader.
struct scanner {
    char_reader& reader;
    lexeme_chain& chain;
    scan_state state = scan_state::between;
    std::size_t count = 0;  // bytes of the lexeme being formed
    bool dot_seen = false;

    // Where `at` stands in the expression, for the walker's error texts.
    std::int32_t offset_of(const char* at) const {
        std::ptrdiff_t offset = at - reader.text.get();
        return offset < std::numeric_limits<std::int32_t>::max() ? static_cast<std::int32_t>(offset)
                                                                 : std::numeric_limits<std::int32_t>::max();
    }

    // Appends the `count` bytes that end just before the current byte.
    void emit(lex_class kind, std::int32_t offset) {
        chain.append_lexeme(kind, reader.position - count, count, offset);
    }
    void emit(lex_class kind) { emit(kind, offset_of(reader.position - count)); }

    // A lexeme of the current byte alone.
    void emit_current(lex_class kind) {
        chain.append_lexeme(kind, reader.position, 1, offset_of(reader.position));
        reader.advance();
    }

    void start(scan_state next, std::size_t initial_count) {
        state = next;
        count = initial_count;
        reader.advance();
    }

    // Returns false when scanning ends.
    bool step_between(lex_class c);
    void step_name(lex_class c);
    void step_number(lex_class c);
    // Returns false when scanning ends.
    bool step_literal(lex_class c, lex_class closing);
};

bool scanner::step_between(lex_class c) {
    switch (c) {
        case lex_class::null:
            return false;
        case lex_class::digit:
            dot_seen = false;
            start(scan_state::number, 1);
            return true;
        case lex_class::base_char:
        case lex_class::under:
            start(scan_state::name, 1);
            return true;
        case lex_class::dot:
            if (char_class(reader.peek()) == lex_class::digit) {
                dot_seen = true;
                start(scan_state::number, 1);
            } else {
                emit_current(lex_class::dot);
            }
            return true;
        case lex_class::double_quote:
            start(scan_state::double_quoted, 0);
            return true;
        case lex_class::simple_quote:
            start(scan_state::single_quoted, 0);
            return true;
        default:
            emit_current(c);
            return true;
    }
}

bool continues_name(lex_class c) {
    return c == lex_class::digit || c == lex_class::base_char || c == lex_class::extender || c == lex_class::dot ||
           c == lex_class::minus || c == lex_class::under;
}

void scanner::step_name(lex_class c) {
    if (continues_name(c)) {
        ++count;
        reader.advance();
        return;
    }
    emit(classify_name(reader.position - count, count));
    state = scan_state::between;  // the current byte is classified again
}

void scanner::step_number(lex_class c) {
    if (c == lex_class::digit || (c == lex_class::dot && !dot_seen)) {
        dot_seen = dot_seen || c == lex_class::dot;
        ++count;
        reader.advance();
        return;
    }
    emit(lex_class::number);  // a second dot starts anew: "1.5.6" is "1.5" and ".6"
    state = scan_state::between;
}

// A literal has no escapes. An unterminated one vanishes with the rest of
// the text; the chain keeps where it opened, so that the walker can say so.
bool scanner::step_literal(lex_class c, lex_class closing) {
    std::int32_t opening_quote = offset_of(reader.position - count - 1);
    if (c == lex_class::null) {
        chain.unterminated_literal_offset = opening_quote;
        return false;
    }
    if (c == closing) {
        emit(lex_class::string_literal, opening_quote);
        reader.advance();
        state = scan_state::between;
        return true;
    }
    ++count;
    reader.advance();
    return true;
}

// ORDER lex_class: the keywords from kw_or (37) to type_text (57).
constexpr std::int32_t first_keyword = 37;

// One refinement step at the cursor, whose successor exists.
void refine_at_cursor(lexeme_chain& chain, lexeme* successor) {
    struct join {
        lex_class first, second, joined;
        const char* text;
    };
    static const join joins[] = {
        {lex_class::slash, lex_class::slash, lex_class::double_slash, "//"},
        {lex_class::dot, lex_class::dot, lex_class::double_dot, ".."},
        {lex_class::colon, lex_class::colon, lex_class::double_colon, "::"},
        {lex_class::less_than, lex_class::equal, lex_class::less_or_equal, "<="},
        {lex_class::greater_than, lex_class::equal, lex_class::greater_or_equal, ">="},
        {lex_class::exclamation, lex_class::equal, lex_class::not_equal, "!="},
    };
    if (chain.cursor->kind == lex_class::space) {
        chain.remove_current();
        return;
    }
    for (const join& j : joins) {
        if (chain.cursor->kind == j.first && successor->kind == j.second) {
            chain.retype_current(j.joined, j.text);
            chain.remove_next();
            return;  // the joined lexeme is examined again
        }
    }
    chain.advance_cursor(1);
}

}  // namespace

void scan_lexemes(char_reader& reader, lexeme_chain& chain) {
    scanner s{reader, chain};
    for (;;) {
        lex_class c = char_class(reader.current());
        switch (s.state) {
            case scan_state::between:
                if (!s.step_between(c)) return;
                break;
            case scan_state::name:
                s.step_name(c);
                if (c == lex_class::null) return;
                break;
            case scan_state::number:
                s.step_number(c);
                if (c == lex_class::null) return;
                break;
            case scan_state::single_quoted:
                if (!s.step_literal(c, lex_class::simple_quote)) return;
                break;
            case scan_state::double_quoted:
                if (!s.step_literal(c, lex_class::double_quote)) return;
                break;
        }
    }
}

// Whether a keyword's spelling names an operator, an axis, a node type or
// an element depends on where it stands ("a/div div 2", "child::child"),
// so the walker decides that, not the scanner.
lex_class classify_name(const char* bytes, std::size_t count) {
    for (std::int32_t code = first_keyword; code <= last_lex_class; ++code) {
        // The bytes are compared in place: no string is built for a name.
        const char* keyword_text = lex_class_name(code);
        if (count == 0 || keyword_text[0] != bytes[0]) continue;
        if (std::strncmp(keyword_text, bytes, count) != 0 || keyword_text[count] != '\0') continue;
        return static_cast<lex_class>(code);
    }
    return lex_class::ncname;
}

void refine_lexemes(lexeme_chain& chain) {
    chain.cursor = chain.first();
    while (chain.cursor) {
        lexeme* successor = chain.lexeme_after_cursor(1);
        if (!successor) break;
        refine_at_cursor(chain, successor);
    }
    // Spaces at the end are no lexeme either.
    chain.cursor = chain.last_lexeme();
    if (chain.cursor && chain.cursor->kind == lex_class::space) chain.remove_current();
    chain.cursor = nullptr;
}

}  // namespace xpath
