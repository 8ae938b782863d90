// The core function library: the 27 functions of XPath 1.0, each a row of
// the table at the end with its argument limits, the code of a wrong count,
// the code of a missing node-set where it needs one, and whether the context
// node stands in for a missing argument. Strings are counted and cut in
// characters (utf8_text.hpp); comparisons of strings are byte for byte.
#include "core_functions.hpp"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

#include <tinyxml.h>

#include "evaluation_errors.hpp"
#include "number_text.hpp"
#include "operators.hpp"
#include "tree_text.hpp"
#include "utf8_text.hpp"

namespace xpath {
namespace {

struct function_call {
    value_stack& stack;
    const evaluation_context& context;
    std::vector<path_value>& arguments;

    std::size_t count() const { return arguments.size(); }
    path_value& argument(std::size_t index) { return arguments[index]; }
    std::string text(std::size_t index) { return arguments[index].to_string(); }
    double number(std::size_t index) { return arguments[index].to_number(); }
};

std::int32_t saturated(std::size_t count) {
    return count > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(count);
}

bool is_xml_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The node-set functions.

void fn_last(function_call& call) {
    call.stack.push_int(call.context.size, "last()");
}

void fn_position(function_call& call) {
    call.stack.push_int(call.context.position, "position()");
}

void fn_count(function_call& call) {
    call.stack.push_int(saturated(call.argument(0).nodes.count()), "count()");
}

// TinyXML knows no ID-typed attributes, so no element has an ID.
void fn_id(function_call& call) {
    call.stack.push_nodes(node_collection());
}

// The name of the first node in document order: a tag, an attribute's name,
// an instruction's target; "" for the root node, texts and comments.
std::string first_name(function_call& call) {
    const node_collection& nodes = call.argument(0).nodes;
    return nodes.count() > 0 ? name_of(nodes.at(0)) : std::string();
}

void fn_name(function_call& call) {
    call.stack.push_string(first_name(call));
}

// No prefix is resolved: the local name is what follows the last ':'.
void fn_local_name(function_call& call) {
    std::string name = first_name(call);
    std::size_t colon = name.rfind(':');
    call.stack.push_string(colon == std::string::npos ? name : name.substr(colon + 1));
}

void fn_namespace_uri(function_call& call) {
    call.stack.push_string(std::string());
}

// The string functions.

void fn_string(function_call& call) {
    call.stack.push_string(call.text(0));
}

void fn_concat(function_call& call) {
    std::string joined;
    for (std::size_t i = 0; i < call.count(); ++i) joined += call.text(i);
    call.stack.push_string(std::move(joined));
}

void fn_starts_with(function_call& call) {
    std::string text = call.text(0);
    std::string prefix = call.text(1);
    call.stack.push_bool(text.compare(0, prefix.size(), prefix) == 0);
}

void fn_contains(function_call& call) {
    std::string text = call.text(0);
    std::string part = call.text(1);
    call.stack.push_bool(text.find(part) != std::string::npos);
}

// A match must begin on a character: a part that is a stray byte never
// splits a character of the text.
void fn_substring_before(function_call& call) {
    std::string text = call.text(0);
    std::size_t at = find_at_character(text, call.text(1));
    call.stack.push_string(at == std::string::npos ? std::string() : text.substr(0, at));
}

void fn_substring_after(function_call& call) {
    std::string text = call.text(0);
    std::string part = call.text(1);
    std::size_t at = find_at_character(text, part);
    call.stack.push_string(at == std::string::npos ? std::string() : text.substr(at + part.size()));
}

// The characters at positions p (from 1) with round(start) <= p <
// round(start) + round(length); a NaN anywhere keeps none, and an infinite
// end keeps the rest.
void fn_substring(function_call& call) {
    std::string text = call.text(0);
    double first = xpath_round(call.number(1));
    double end = call.count() == 3 ? first + xpath_round(call.number(2)) : INFINITY;
    std::string kept;
    double position = 1;
    for (std::size_t offset = 0; offset < text.size() && position < end; ++position) {
        std::size_t size = character_size(text, offset);
        if (position >= first && position < end) kept.append(text, offset, size);
        offset += size;
    }
    call.stack.push_string(std::move(kept));
}

void fn_string_length(function_call& call) {
    call.stack.push_int(saturated(character_count(call.text(0))), "string-length()");
}

// Space, tab, CR and LF: runs become one space, and none is left at either end.
void fn_normalize_space(function_call& call) {
    std::string text = call.text(0);
    std::string normalized;
    bool pending_space = false;
    for (char c : text) {
        if (is_xml_space(c)) {
            pending_space = !normalized.empty();
            continue;
        }
        if (pending_space) normalized += ' ';
        pending_space = false;
        normalized += c;
    }
    call.stack.push_string(std::move(normalized));
}

// The characters of a text, each as the bytes it spans.
std::vector<std::string_view> characters_of(std::string_view text) {
    std::vector<std::string_view> characters;
    for (std::size_t offset = 0; offset < text.size();) {
        std::size_t size = character_size(text, offset);
        characters.push_back(text.substr(offset, size));
        offset += size;
    }
    return characters;
}

// Each character of `from` becomes the character at the same place in `to`,
// or goes when `to` is shorter; the first place of a repeated character counts.
void fn_translate(function_call& call) {
    std::string text = call.text(0), from_text = call.text(1), to_text = call.text(2);
    std::vector<std::string_view> from = characters_of(from_text), to = characters_of(to_text);
    std::string translated;
    for (std::string_view character : characters_of(text)) {
        std::size_t place = 0;
        while (place < from.size() && from[place] != character) ++place;
        if (place == from.size())
            translated.append(character.data(), character.size());
        else if (place < to.size())
            translated.append(to[place].data(), to[place].size());
    }
    call.stack.push_string(std::move(translated));
}

// The boolean functions.

void fn_boolean(function_call& call) {
    call.stack.push_bool(call.argument(0).to_bool());
}

void fn_not(function_call& call) {
    call.stack.push_bool(!call.argument(0).to_bool());
}

void fn_true(function_call& call) {
    call.stack.push_bool(true);
}

void fn_false(function_call& call) {
    call.stack.push_bool(false);
}

bool same_letters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The xml:lang of the context node or of its nearest ancestor that has one;
// false when none has. An attribute's nearest is its element.
void fn_lang(function_call& call) {
    std::string wanted = call.text(0);
    const TiXmlAttribute* language = nullptr;
    for (const TiXmlNode* node = call.context.context_node.node; node && !language; node = node->Parent())
        if (const TiXmlElement* element = node->ToElement())
            for (const TiXmlAttribute* a = element->FirstAttribute(); a && !language; a = a->Next())
                if (name_is(a, "xml:lang")) language = a;
    std::string value = language ? value_of(language) : std::string();
    bool sublanguage = value.size() > wanted.size() && value[wanted.size()] == '-';
    bool matches = language && (value.size() == wanted.size() || sublanguage) &&
                   same_letters(std::string_view(value).substr(0, wanted.size()), wanted);
    call.stack.push_bool(matches);
}

// The number functions: results are integers where they are exact.

void fn_number(function_call& call) {
    push_number(call.stack, call.number(0), true, "number()");
}

// Every node's string made a number and added; NaN as soon as one is none.
// An integer unless some node's text holds a "." or the total is no 32-bit
// integer (the total starts at +0, so it is never -0).
void fn_sum(function_call& call) {
    const node_collection& nodes = call.argument(0).nodes;
    double total = 0.0;
    bool any_dot = false;
    for (std::uint32_t i = 0; i < nodes.count(); ++i) {
        std::string text = nodes.entry_string(i);
        total += parse_number(text);
        any_dot = any_dot || text.find('.') != std::string::npos;
    }
    push_number(call.stack, total, !any_dot, "sum()");
}

void fn_floor(function_call& call) {
    push_number(call.stack, std::floor(call.number(0)), true, "floor()");
}

void fn_ceiling(function_call& call) {
    push_number(call.stack, std::ceil(call.number(0)), true, "ceiling()");
}

void fn_round(function_call& call) {
    push_number(call.stack, xpath_round(call.number(0)), true, "round()");
}

// The table.

enum class missing_argument {
    error,         // a call without the argument is a wrong count
    context_node,  // the context node stands in for it
};

constexpr std::int32_t takes_any_value = 0;

struct library_function {
    const char* name;
    void (*function)(function_call&);
    std::size_t fewest_arguments, most_arguments;
    execution_code count_code;
    missing_argument missing;
    // The code when the first argument is no node-set, or takes_any_value.
    std::int32_t nodes_code;
};

constexpr std::size_t any_number = SIZE_MAX;
constexpr missing_argument error = missing_argument::error;
constexpr missing_argument context = missing_argument::context_node;
using code = execution_code;

// Compared in this order, byte for byte.
const library_function library[] = {
    {"last", fn_last, 0, 0, code::last_arguments, error, takes_any_value},
    {"position", fn_position, 0, 0, code::position_arguments, error, takes_any_value},
    {"count", fn_count, 1, 1, code::count_arguments, error, code_of(code::count_not_nodes)},
    {"id", fn_id, 1, 1, code::id_arguments, error, takes_any_value},
    {"local-name", fn_local_name, 0, 1, code::local_name_arguments, context, code_of(code::local_name_not_nodes)},
    {"namespace-uri", fn_namespace_uri, 0, 1, code::namespace_uri_arguments, context,
     code_of(code::namespace_uri_not_nodes)},
    {"name", fn_name, 0, 1, code::name_arguments, context, code_of(code::name_not_nodes)},
    {"string", fn_string, 0, 1, code::string_arguments, context, takes_any_value},
    {"concat", fn_concat, 2, any_number, code::concat_arguments, error, takes_any_value},
    {"starts-with", fn_starts_with, 2, 2, code::starts_with_arguments, error, takes_any_value},
    {"contains", fn_contains, 2, 2, code::contains_arguments, error, takes_any_value},
    {"substring-before", fn_substring_before, 2, 2, code::substring_before_arguments, error, takes_any_value},
    {"substring-after", fn_substring_after, 2, 2, code::substring_after_arguments, error, takes_any_value},
    {"substring", fn_substring, 2, 3, code::substring_arguments, error, takes_any_value},
    {"string-length", fn_string_length, 0, 1, code::string_length_arguments, context, takes_any_value},
    {"normalize-space", fn_normalize_space, 0, 1, code::normalize_space_arguments, context, takes_any_value},
    {"translate", fn_translate, 3, 3, code::translate_arguments, error, takes_any_value},
    {"boolean", fn_boolean, 1, 1, code::boolean_arguments, error, takes_any_value},
    {"not", fn_not, 1, 1, code::not_arguments, error, takes_any_value},
    {"true", fn_true, 0, 0, code::true_arguments, error, takes_any_value},
    {"false", fn_false, 0, 0, code::false_arguments, error, takes_any_value},
    {"lang", fn_lang, 1, 1, code::lang_arguments, error, takes_any_value},
    {"number", fn_number, 0, 1, code::number_arguments, context, takes_any_value},
    {"sum", fn_sum, 1, 1, code::sum_arguments, error, code_of(code::sum_not_nodes)},
    {"floor", fn_floor, 1, 1, code::floor_arguments, error, takes_any_value},
    {"ceiling", fn_ceiling, 1, 1, code::ceiling_arguments, error, takes_any_value},
    {"round", fn_round, 1, 1, code::round_arguments, error, takes_any_value},
};

void call_checked(const library_function& function, function_call& call) {
    if (call.count() < function.fewest_arguments || call.count() > function.most_arguments)
        raise_execution_error(function.count_code);
    if (call.count() == 0 && function.missing == missing_argument::context_node) {
        node_collection context_node;
        if (call.context.context_node.node) context_node.append(call.context.context_node);
        call.arguments.emplace_back(std::move(context_node));
    }
    if (function.nodes_code != takes_any_value && call.argument(0).kind != value_kind::kind_nodes)
        raise_execution_error(static_cast<execution_code>(function.nodes_code));
    function.function(call);
}

}  // namespace

double xpath_round(double value) {
    if (std::isnan(value) || std::isinf(value) || value == 0) return value;
    if (value < 0 && value >= -0.5) return -0.0;  // rounds to zero from below: -0
    double below = std::floor(value);
    return value - below >= 0.5 ? below + 1 : below;
}

void call_function(value_stack& stack, const evaluation_context& context, const std::string& name,
                   std::vector<path_value>& arguments) {
    function_call call{stack, context, arguments};
    for (const library_function& listed : library) {
        if (name.size() == std::strlen(listed.name) && name.compare(listed.name) == 0) {
            call_checked(listed, call);
            return;
        }
    }
    raise_execution_error(execution_code::unknown_function);
}

}  // namespace xpath
