// The byte table and the display names of lex_class.
#include "lex_class.hpp"

namespace xpath {
namespace {

// ORDER lex_class
const char* const display_names[] = {
    "null", "<small>none</small>", "space", "digit", "base char", "extender", "slash", "at", "dot", "minus",
    "under", "colon", "semi colon", "double quote", "simple quote", "dollar", "opening parenthesis",
    "closing parenthesis", "star", "plus", "comma", "less than", "greater than", "equal", "opening bracket",
    "closing bracket", "or character (|)", "exclamation (!)", "NCName", "Number", "literal", "::", "//", "..",
    "!=", "<=", ">=", "or", "and", "mod", "div", "ancestor", "ancestor-or-self", "attribute", "child",
    "descendant", "descendant-or-self", "following", "following-sibling", "namespace", "parent", "preceding",
    "preceding-sibling", "self", "processing-instruction", "comment", "node", "text",
};
static_assert(sizeof display_names / sizeof display_names[0] == last_lex_class + 1, "one name per lex_class");

// Every byte from 0x80 up is a name character, so that a UTF-8 name such as
// "Größe" or "文書" is one name; 0xB7 only continues one (extender below).
constexpr bool is_letter(int byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= 0x80 && byte != 0xB7);
}

constexpr lex_class punctuation_class(int byte) {
    switch (byte) {
        case '/': return lex_class::slash;
        case '@': return lex_class::at;
        case '.': return lex_class::dot;
        case '-': return lex_class::minus;
        case '_': return lex_class::under;
        case ':': return lex_class::colon;
        case ';': return lex_class::semi_colon;
        case '"': return lex_class::double_quote;
        case '\'': return lex_class::simple_quote;
        case '$': return lex_class::dollar;
        case '(': return lex_class::opening_parenthesis;
        case ')': return lex_class::closing_parenthesis;
        case '*': return lex_class::star;
        case '+': return lex_class::plus;
        case ',': return lex_class::comma;
        case '<': return lex_class::less_than;
        case '>': return lex_class::greater_than;
        case '=': return lex_class::equal;
        case '[': return lex_class::opening_bracket;
        case ']': return lex_class::closing_bracket;
        case '|': return lex_class::or_character;
        case '!': return lex_class::exclamation;
        default: return lex_class::none;
    }
}

constexpr lex_class class_of_byte(int byte) {
    if (byte == 0) return lex_class::null;
    if (byte == '\t' || byte == '\n' || byte == '\r' || byte == ' ') return lex_class::space;
    if (byte >= '0' && byte <= '9') return lex_class::digit;
    if (is_letter(byte)) return lex_class::base_char;
    if (byte == 0xB7) return lex_class::extender;
    return punctuation_class(byte);
}

constexpr std::array<lex_class, 256> build_table() {
    std::array<lex_class, 256> table{};
    for (int byte = 0; byte < 256; ++byte) table[byte] = class_of_byte(byte);
    return table;
}

}  // namespace

// Built at compile time from the rules above, so the table cannot drift from them.
constexpr std::array<lex_class, 256> char_class_table = build_table();

const char* lex_class_name(std::int32_t code) {
    return code >= 0 && code <= last_lex_class ? display_names[code] : "???";
}

bool is_axis_class(std::int32_t code) {
    return code >= code_of(lex_class::axis_ancestor) && code <= code_of(lex_class::axis_self);
}

bool is_node_type_class(std::int32_t code) {
    return code >= code_of(lex_class::type_processing_instruction) && code <= code_of(lex_class::type_text);
}

}  // namespace xpath
