// The doubt list's entries and the scans that recognise their forms. The
// scans read the expression text with its string literals set apart, so
// that "1e3" inside quotes is no number and a '|' inside quotes no operator.
#include "reference_doubts.hpp"

#include <cctype>

namespace conformance {
namespace {

struct split_expression {
    std::string code;                   // the text with every literal's content blanked
    std::vector<std::string> literals;  // the literals' contents
};

split_expression split_literals(const std::string& expression) {
    split_expression split;
    char quote = 0;
    for (char c : expression) {
        if (quote) {
            if (c == quote) {
                quote = 0;
                split.code += c;
            } else {
                split.literals.back() += c;
                split.code += ' ';
            }
        } else {
            if (c == '\'' || c == '"') {
                quote = c;
                split.literals.emplace_back();
            }
            split.code += c;
        }
    }
    return split;
}

bool is_digit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// A character that continues a name: letters, digits, '_', '.' and every
// byte of UTF-8. A '-' continues a name only after one of those.
bool is_name_char(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || static_cast<unsigned char>(c) >= 0x80;
}

bool continues_name(const std::string& code, std::size_t i) {
    if (i == 0) return false;
    if (is_name_char(code[i - 1])) return true;
    return code[i - 1] == '-' && i >= 2 && is_name_char(code[i - 2]);
}

// A call of the function: its name with no name character before it.
bool calls(const std::string& code, const std::string& function) {
    std::string call = function + "(";
    for (std::size_t at = code.find(call); at != std::string::npos; at = code.find(call, at + 1))
        if (!continues_name(code, at)) return true;
    return false;
}

// The number literals of the code, as written ("12", ".5", "1.0").
std::vector<std::string> number_literals(const std::string& code) {
    std::vector<std::string> numbers;
    for (std::size_t i = 0; i < code.size(); ++i) {
        bool starts = is_digit(code[i]) || (code[i] == '.' && i + 1 < code.size() && is_digit(code[i + 1]));
        if (!starts || continues_name(code, i)) continue;
        std::size_t end = i;
        while (end < code.size() && (is_digit(code[end]) || code[end] == '.')) ++end;
        numbers.push_back(code.substr(i, end - i));
        if (end < code.size() && (code[end] == 'e' || code[end] == 'E')) numbers.back() += code[end];
        i = end;
    }
    return numbers;
}

std::string trimmed(const std::string& text) {
    const char* space = " \t\r\n";
    std::size_t first = text.find_first_not_of(space);
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

// "1e3", "-.5E1", "2e": a number followed by an exponent letter.
bool starts_with_exponent_number(const std::string& text) {
    std::size_t i = text[0] == '-' ? 1 : 0;
    std::size_t digits = 0;
    while (i < text.size() && (is_digit(text[i]) || text[i] == '.')) digits += is_digit(text[i++]) ? 1 : 0;
    return digits > 0 && i < text.size() && (text[i] == 'e' || text[i] == 'E');
}

bool has_exponent_after_number(const conformance_case& tested) {
    for (const std::string& number : number_literals(split_literals(tested.expression).code)) {
        char last = number.back();
        if (last == 'e' || last == 'E') return true;
    }
    return false;
}

bool has_exponent_string(const conformance_case& tested) {
    for (const std::string& literal : split_literals(tested.expression).literals) {
        std::string text = trimmed(literal);
        if (!text.empty() && starts_with_exponent_number(text)) return true;
    }
    return false;
}

bool has_lone_minus_string(const conformance_case& tested) {
    for (const std::string& literal : split_literals(tested.expression).literals)
        if (trimmed(literal) == "-") return true;
    return false;
}

// A '*' that multiplies: it follows an operand (a digit or ')'), while a
// '*' after '(' or an operator is a name test.
bool multiplies(const std::string& code) {
    for (std::size_t at = code.find('*'); at != std::string::npos; at = code.find('*', at + 1)) {
        std::size_t before = code.find_last_not_of(' ', at == 0 ? 0 : at - 1);
        if (at > 0 && before != std::string::npos && (is_digit(code[before]) || code[before] == ')')) return true;
    }
    return false;
}

// A string conversion (string() or concat()) in an expression that computes
// or writes a number which is no small integer: a division, a product, a
// fraction or a literal of ten digits or more.
bool converts_number_to_string(const conformance_case& tested) {
    std::string code = split_literals(tested.expression).code;
    if (!calls(code, "string") && !calls(code, "concat")) return false;
    if (code.find("div") != std::string::npos || multiplies(code)) return true;
    for (const std::string& number : number_literals(code))
        if (number.find('.') != std::string::npos || number.size() >= 10) return true;
    return false;
}

bool ends_with_union_bar(const conformance_case& tested) {
    const std::string code = split_literals(tested.expression).code;
    return !code.empty() && code.back() == '|';
}

bool has_following_after_attribute(const conformance_case& tested) {
    std::string code = split_literals(tested.expression).code;
    std::size_t following = code.find("following::");
    if (following == std::string::npos) return false;
    std::size_t attribute = code.find('@');
    std::size_t spelled = code.find("attribute::");
    return (attribute != std::string::npos && attribute < following) ||
           (spelled != std::string::npos && spelled < following);
}

// ".//." with the first '.' a step of its own, not the end of a name or number.
bool has_self_then_descendants_or_self(const conformance_case& tested) {
    std::string code = split_literals(tested.expression).code;
    for (std::size_t at = code.find(".//."); at != std::string::npos; at = code.find(".//.", at + 1))
        if (!continues_name(code, at)) return true;
    return false;
}

}  // namespace

const std::vector<reference_doubt>& reference_doubts() {
    static const std::vector<reference_doubt> doubts = {
        {"exponent after a number",
         has_exponent_after_number,
         {"syntax.trailing_lexemes", "<r/>", "1e3"},
         "libxml2 reads an exponent after a number (1e3 is 1000, 1.5e is 1.5) instead of refusing the text"},
        {"exponent in a string made a number",
         has_exponent_string,
         {"values.to_number", "<r/>", "'1e3' + 0"},
         "libxml2 reads an exponent when it turns a string into a number ('1e3' is 1000, not NaN)"},
        {"'-' made a number",
         has_lone_minus_string,
         {"values.to_number", "<r/>", "'-' + 0"},
         "libxml2 turns the string '-' into 0 instead of NaN"},
        {"number made a string",
         converts_number_to_string,
         {"values.to_string", "<r/>", "concat('', 1 div 3)"},
         "libxml2 writes at most 15 significant digits, and an exponent from 1e9 up and below 1e-5"},
        {"'|' ending the expression",
         ends_with_union_bar,
         {"syntax.missing_operands", "<r><a/></r>", "a |"},
         "libxml2 accepts a '|' with no right operand when it is the last character of the text"},
        {"following axis from an attribute",
         has_following_after_attribute,
         {"steps.following_preceding", "<r><a id=\"1\"><b/></a></r>", "a/@id/following::node()"},
         "libxml2 leaves the children of the attribute's element out of the attribute's following axis"},
        {"'.//.'",
         has_self_then_descendants_or_self,
         {"steps.abbreviations", "<r><a/></r>", ".//."},
         "libxml2 leaves the context nodes themselves out of './/.' (though count(.//.) counts them)"},
    };
    return doubts;
}

const reference_doubt* doubt_for(const conformance_case& tested) {
    for (const reference_doubt& doubt : reference_doubts())
        if (doubt.matches(tested)) return &doubt;
    return nullptr;
}

}  // namespace conformance
