// The syntax errors' construction, raising and names.
#include "xpath_errors.hpp"

#include <cstring>

namespace xpath {
namespace {

struct syntax_code_text {
    const char* name;
    const char* phrase;
};

// ORDER syntax_code
const syntax_code_text syntax_code_texts[] = {
    {"expression_not_decoded", main_level_text},
    {"trailing_lexemes", "trailing lexemes"},
    {"unclosed_predicate", "unclosed predicate"},
    {"unclosed_parenthesis", "unclosed parenthesis"},
    {"unclosed_call", "unclosed call"},
    {"unterminated_literal", "unterminated literal"},
    {"missing_operand", "missing operand"},
    {"empty_predicate", "empty predicate"},
    {"unknown_axis", "unknown axis"},
    {"missing_step", "missing step"},
    {"incomplete_name", "incomplete name"},
    {"malformed_node_test", "malformed node test"},
};
static_assert(sizeof syntax_code_texts / sizeof syntax_code_texts[0] == last_syntax_code + 1,
              "a name and a phrase per syntax_code");

const syntax_code_text* texts_of(std::int32_t code) {
    return code >= 0 && code <= last_syntax_code ? &syntax_code_texts[code] : nullptr;
}

// Whether `text` begins with `phrase` followed by ':'.
bool begins_with_phrase(const char* text, const char* phrase) {
    std::size_t length = std::strlen(phrase);
    return std::strncmp(text, phrase, length) == 0 && text[length] == ':';
}

}  // namespace

syntax_error::syntax_error(syntax_code code, const char* text) : code_(code) {
    std::size_t length = text ? std::strlen(text) : 0;
    if (length >= sizeof text_ - 1) length = 0;
    std::memcpy(text_, text ? text : "", length);
    text_[length] = 0;
}

void raise_syntax_error(syntax_code code, const char* text) {
    throw syntax_error(code, text);
}

void raise_syntax_overflow() {
    throw syntax_overflow();
}

const char* syntax_code_name(std::int32_t code) {
    const syntax_code_text* texts = texts_of(code);
    return texts ? texts->name : nullptr;
}

const char* syntax_code_phrase(std::int32_t code) {
    const syntax_code_text* texts = texts_of(code);
    return texts ? texts->phrase : nullptr;
}

const char* syntax_error_name(const char* text) {
    if (!text) return "unnamed_syntax_error";
    if (std::strcmp(text, main_level_text) == 0) return syntax_code_texts[0].name;
    for (std::int32_t code = 1; code <= last_syntax_code; ++code)
        if (begins_with_phrase(text, syntax_code_texts[code].phrase)) return syntax_code_texts[code].name;
    return "unnamed_syntax_error";
}

}  // namespace xpath
