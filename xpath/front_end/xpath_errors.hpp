// The XPath engine's four exception classes. The front end raises the two
// syntax errors; evaluation raises execution_error and error_not_yet with the
// codes that callers and tests rely on. Each is raised through one helper.
#pragma once

#include <cstdint>

namespace xpath {

// The expression cannot be decoded. The text lives in a 200-byte buffer; a
// text of 199 bytes or more is kept as the empty text.
class syntax_error {
public:
    explicit syntax_error(const char* text);
    const char* text() const { return text_; }

private:
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

// The one text the walker raises; tools name it by syntax_error_name.
constexpr const char* main_level_text = "main level";

[[noreturn]] void raise_syntax_error(const char* text);
[[noreturn]] void raise_syntax_overflow();

// A name for a syntax error's text, for tools: "expression_not_decoded" for
// the main level's text, "unnamed_syntax_error" for any other.
const char* syntax_error_name(const char* text);

}  // namespace xpath
