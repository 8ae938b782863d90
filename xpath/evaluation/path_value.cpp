// Path values and their conversions.
#include "path_value.hpp"

#include <cmath>

#include "number_text.hpp"

namespace xpath {

path_value& path_value::operator=(const path_value& source) {
    if (this != &source) copy_from(source);
    return *this;
}

void path_value::copy_from(const path_value& source) {
    kind = source.kind;
    switch (kind) {
        case value_kind::kind_bool: truth = source.truth; break;
        case value_kind::kind_string: text = source.text; break;
        case value_kind::kind_int: integer = source.integer; break;
        case value_kind::kind_double: real = source.real; break;
        case value_kind::kind_nodes: nodes = source.nodes; break;
        case value_kind::kind_none: break;
    }
}

path_value& path_value::operator=(path_value&& source) noexcept {
    if (this != &source) move_from(source);
    return *this;
}

void path_value::move_from(path_value& source) noexcept {
    kind = source.kind;
    switch (kind) {
        case value_kind::kind_bool: truth = source.truth; break;
        case value_kind::kind_string: text = std::move(source.text); break;
        case value_kind::kind_int: integer = source.integer; break;
        case value_kind::kind_double: real = source.real; break;
        case value_kind::kind_nodes: nodes = std::move(source.nodes); break;
        case value_kind::kind_none: break;
    }
}

std::int32_t path_value::to_int() {
    switch (kind) {
        case value_kind::kind_bool: return truth ? 1 : 0;
        case value_kind::kind_int: return integer;
        case value_kind::kind_double: return double_to_int(real);
        default: return parse_int(to_string());
    }
}

double path_value::to_number() {
    switch (kind) {
        case value_kind::kind_bool: return truth ? 1.0 : 0.0;
        case value_kind::kind_int: return static_cast<double>(integer);
        case value_kind::kind_double: return real;
        case value_kind::kind_string: return parse_number(text);
        default: return parse_number(to_string());
    }
}

// A collection stands for its first node in document order.
std::string path_value::to_string() {
    switch (kind) {
        case value_kind::kind_bool: return to_bool() ? "true" : "false";
        case value_kind::kind_string: return text;
        case value_kind::kind_int: return format_int(integer);
        case value_kind::kind_double: return format_number(real);
        case value_kind::kind_nodes:
            if (nodes.count() == 0) return std::string();
            nodes.sort_document_order();
            return nodes.entry_string(0);
        case value_kind::kind_none: break;
    }
    return std::string();
}

bool path_value::to_bool() const {
    switch (kind) {
        case value_kind::kind_bool: return truth;
        case value_kind::kind_string: return !text.empty();
        case value_kind::kind_int: return integer != 0;
        case value_kind::kind_double: return real != 0.0 && !std::isnan(real);
        case value_kind::kind_nodes: return nodes.count() != 0;
        case value_kind::kind_none: break;
    }
    return false;
}

}  // namespace xpath
