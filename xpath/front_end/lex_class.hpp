// lex_class: one numbering for byte classes (0..27) and lexeme kinds (28..57),
// with the 256-entry byte table and the display names. The codes of axis and
// node-type keywords travel in recorded actions, so the numbering is fixed.
#pragma once

#include <array>
#include <cstdint>

namespace xpath {

// ORDER lex_class
enum class lex_class : std::int32_t {
    null = 0,                          // the terminating zero byte; the chain's sentinel
    none = 1,                          // a byte without a role; one-byte lexeme
    space = 2,                         // removed by refinement
    digit = 3,                         // starts or continues a number, continues a name
    base_char = 4,                     // starts or continues a name
    extender = 5,                      // 0xB7: continues a name
    slash = 6,                         // "/"
    at = 7,                            // "@"
    dot = 8,                           // "." unless a digit follows
    minus = 9,                         // "-", also inside names
    under = 10,                        // "_": starts or continues a name
    colon = 11,                        // ":"
    semi_colon = 12,                   // ";"
    double_quote = 13,                 // opens and closes a literal
    simple_quote = 14,                 // opens and closes a literal
    dollar = 15,                       // "$"
    opening_parenthesis = 16,          // "("
    closing_parenthesis = 17,          // ")"
    star = 18,                         // "*"
    plus = 19,                         // "+"
    comma = 20,                        // ","
    less_than = 21,                    // "<"
    greater_than = 22,                 // ">"
    equal = 23,                        // "="
    opening_bracket = 24,              // "["
    closing_bracket = 25,              // "]"
    or_character = 26,                 // "|"
    exclamation = 27,                  // "!"
    ncname = 28,                       // a name that is no keyword
    number = 29,                       // digits with at most one dot
    string_literal = 30,               // the bytes between a pair of quotes
    double_colon = 31,                 // "::" after refinement
    double_slash = 32,                 // "//" after refinement
    double_dot = 33,                   // ".." after refinement
    not_equal = 34,                    // "!=" after refinement
    less_or_equal = 35,                // "<=" after refinement
    greater_or_equal = 36,             // ">=" after refinement
    kw_or = 37,                        // "or"
    kw_and = 38,                       // "and"
    kw_mod = 39,                       // "mod"
    kw_div = 40,                       // "div"
    axis_ancestor = 41,                // "ancestor"
    axis_ancestor_or_self = 42,        // "ancestor-or-self"
    axis_attribute = 43,               // "attribute"
    axis_child = 44,                   // "child"
    axis_descendant = 45,              // "descendant"
    axis_descendant_or_self = 46,      // "descendant-or-self"
    axis_following = 47,               // "following"
    axis_following_sibling = 48,       // "following-sibling"
    axis_namespace = 49,               // "namespace"
    axis_parent = 50,                  // "parent"
    axis_preceding = 51,               // "preceding"
    axis_preceding_sibling = 52,       // "preceding-sibling"
    axis_self = 53,                    // "self"
    type_processing_instruction = 54,  // "processing-instruction"
    type_comment = 55,                 // "comment"
    type_node = 56,                    // "node"
    type_text = 57,                    // "text", only right before "("
};

constexpr std::int32_t last_lex_class = 57;

// The class of every byte. Bytes from 0x80 up are name characters, so UTF-8
// names scan as names without being decoded.
extern const std::array<lex_class, 256> char_class_table;

inline lex_class char_class(char byte) {
    return char_class_table[static_cast<unsigned char>(byte)];
}

inline std::int32_t code_of(lex_class kind) {
    return static_cast<std::int32_t>(kind);
}

// The display name of a code; the names of 37..57 are the keyword texts.
// "???" for any code outside 0..57.
const char* lex_class_name(std::int32_t code);

// Codes 41 to 53: the thirteen axis keywords.
bool is_axis_class(std::int32_t code);

// Codes 54 to 57: the node-type keywords, the only keywords that may name a function.
bool is_node_type_class(std::int32_t code);

}  // namespace xpath
