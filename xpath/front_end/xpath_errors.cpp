// The syntax errors' construction and raising.
#include "xpath_errors.hpp"

#include <cstring>

namespace xpath {

syntax_error::syntax_error(const char* text) {
    std::size_t length = text ? std::strlen(text) : 0;
    if (length >= sizeof text_ - 1) length = 0;
    std::memcpy(text_, text ? text : "", length);
    text_[length] = 0;
}

void raise_syntax_error(const char* text) {
    throw syntax_error(text);
}

const char* syntax_error_name(const char* text) {
    return text && std::strcmp(text, main_level_text) == 0 ? "expression_not_decoded" : "unnamed_syntax_error";
}

void raise_syntax_overflow() {
    throw syntax_overflow();
}

}  // namespace xpath
