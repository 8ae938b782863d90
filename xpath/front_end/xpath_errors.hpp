// The XPath engine's four exception classes. The front end raises the two
// syntax errors; evaluation raises execution_error and error_not_yet with the
// codes that callers and tests rely on. Each is raised through one helper.
#pragma once

#include <cstdint>

namespace xpath {

// Why an expression cannot be decoded. Each code's text begins with its
// phrase and a colon ("unclosed predicate: expected ']' ..."), except the
// empty expression's, which is "main level"; the numbers never change.
// ORDER syntax_code
enum class syntax_code : std::int32_t {
    expression_not_decoded = 0,  // "main level": the expression holds no lexeme
    trailing_lexemes = 1,        // a complete expression is followed by more
    unclosed_predicate = 2,      // "[" without its "]"
    unclosed_parenthesis = 3,    // "(" without its ")"
    unclosed_call = 4,           // a function call without its ")"
    unterminated_literal = 5,    // a quote without its closing quote
    missing_operand = 6,         // an operator, or the expression, without an operand where one must start
    empty_predicate = 7,         // "[]"
    unknown_axis = 8,            // a name before "::" that is none of the thirteen axes
    missing_step = 9,            // "/", "//", "@" or an axis without the step or node test after it
    incomplete_name = 10,        // "p:" or "$" without the name after it
    malformed_node_test = 11,    // a node type without its "()", or a bad processing-instruction test
};
constexpr std::int32_t last_syntax_code = 11;

inline std::int32_t code_of(syntax_code code) {
    return static_cast<std::int32_t>(code);
}

// The expression cannot be decoded. The text lives in a 200-byte buffer; a
// text of 199 bytes or more is kept as the empty text.
class syntax_error {
public:
    syntax_error(syntax_code code, const char* text);
    syntax_code code() const { return code_; }
    const char* text() const { return text_; }

private:
    syntax_code code_;
    char text_[200];
};

// Decoding took more than the bound of rule entries.
class syntax_overflow {};

// Evaluation failed; the code says where.
class execution_error {
public:
    explicit execution_error(std::int32_t code) : code_(code) {}
    std::int32_t code() const { return code_; }

private:
    std::int32_t code_;
};

// A construct the engine does not evaluate; always raised with code -2
// (execution_code::not_yet_evaluated).
class error_not_yet : public execution_error {
public:
    explicit error_not_yet(std::int32_t code = -2) : execution_error(code) {}
};

// The text of an empty expression's error.
constexpr const char* main_level_text = "main level";

// Raises code's error with its text, which begins with the code's phrase
// and a colon and says what was expected and where (the empty expression's
// text is "main level").
[[noreturn]] void raise_syntax_error(syntax_code code, const char* text);
[[noreturn]] void raise_syntax_overflow();

// The code's name as written above ("unclosed_predicate"), and the phrase its
// texts begin with ("unclosed predicate"); null for a number that is none.
const char* syntax_code_name(std::int32_t code);
const char* syntax_code_phrase(std::int32_t code);

// A name for a syntax error's text, for tools: the name of the code whose
// text it is ("expression_not_decoded" for "main level"), or
// "unnamed_syntax_error" for a text of no code.
const char* syntax_error_name(const char* text);

}  // namespace xpath
