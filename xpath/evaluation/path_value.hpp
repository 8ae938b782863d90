// path_value: the typed value that every step of an evaluation produces and
// consumes. The payloads are separate fields, not an overlay; only the one
// that `kind` names is meaningful. Every coercion between kinds goes through
// the four conversions: XPath's number, string and boolean, and the integer
// conversion that the launcher's result keeps.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "node_collection.hpp"
#include "xpath/xpath.hpp"  // value_kind

namespace xpath {

class path_value {
public:
    path_value() = default;
    explicit path_value(bool value) : truth(value), kind(value_kind::kind_bool) {}
    explicit path_value(std::int32_t value) : integer(value), kind(value_kind::kind_int) {}
    explicit path_value(double value) : real(value), kind(value_kind::kind_double) {}
    explicit path_value(const std::string& value) : text(value), kind(value_kind::kind_string) {}
    // Without this, a quoted literal would convert to bool.
    explicit path_value(const char* value) : text(value), kind(value_kind::kind_string) {}
    explicit path_value(const node_collection& value) : nodes(value), kind(value_kind::kind_nodes) {}
    explicit path_value(node_collection&& value) : nodes(std::move(value)), kind(value_kind::kind_nodes) {}
    explicit path_value(std::string&& value) : text(std::move(value)), kind(value_kind::kind_string) {}

    // A copy takes the kind and only that kind's payload. A move does the
    // same, handing a string or a collection over instead of copying it.
    path_value(const path_value& source) { copy_from(source); }
    path_value& operator=(const path_value& source);
    path_value(path_value&& source) noexcept { move_from(source); }
    path_value& operator=(path_value&& source) noexcept;

    // The conversions take the value itself: those that read a node
    // collection sort it in place first, since the first node in document
    // order stands for it.
    // The integer conversion: a double truncated and saturated (NaN gives 0),
    // a string or a collection's string by the atoi rule ("26x" gives 26).
    std::int32_t to_int();
    // XPath's number(): a string by XPath's rule (NaN for anything but a
    // decimal number), true 1, false 0.
    double to_number();
    // XPath's string(): a collection's first node's string value, or "".
    std::string to_string();
    bool to_bool() const;

    std::string text;
    bool truth = false;
    std::int32_t integer = 0;
    double real = 0.0;
    node_collection nodes;
    value_kind kind = value_kind::kind_none;

private:
    void copy_from(const path_value& source);
    void move_from(path_value& source) noexcept;
};

}  // namespace xpath
