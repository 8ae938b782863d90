// Comparisons. Each node's string value is read once per comparison, and two
// collections never cost the product of their sizes: "=" looks the larger
// side's strings up among the smaller side's, sorted, "!=" only asks whether the two sides hold more
// than one distinct string between them, and an ordering compares the
// extreme numbers of each side.
#include "comparison.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "number_text.hpp"
#include "string_value.hpp"

namespace xpath {
namespace {

bool is_equality(relation r) {
    return r == relation::equal || r == relation::not_equal;
}

// The relation with its sides swapped: "a < b" is "b > a".
relation mirrored(relation r) {
    switch (r) {
        case relation::less: return relation::greater;
        case relation::less_equal: return relation::greater_equal;
        case relation::greater: return relation::less;
        case relation::greater_equal: return relation::less_equal;
        default: return r;
    }
}

// IEEE comparisons: NaN compares false, except with "!=".
bool holds(relation r, double a, double b) {
    switch (r) {
        case relation::equal: return a == b;
        case relation::not_equal: return a != b;
        case relation::less: return a < b;
        case relation::less_equal: return a <= b;
        case relation::greater: return a > b;
        case relation::greater_equal: return a >= b;
    }
    return false;
}

// Strings are only compared by "=" and "!=", byte for byte.
bool holds(relation r, std::string_view a, std::string_view b) {
    return r == relation::equal ? a == b : a != b;
}

bool is_number(const path_value& value) {
    return value.kind == value_kind::kind_int || value.kind == value_kind::kind_double;
}

double number_of(std::string_view text) {
    return parse_number(text.data(), text.size());
}

// Entry `index` of a collection as its string value, read in place where the
// tree holds it as one text.
std::string_view entry_text(const node_collection& nodes, std::uint32_t index, std::string& joined) {
    if (nodes.is_attribute(index)) return string_value_view(nodes.attribute_at(index));
    return string_value_view(nodes.node_at(index), joined);
}

bool some_node_number(relation r, const node_collection& nodes, double number) {
    std::string joined;
    for (std::uint32_t i = 0; i < nodes.count(); ++i)
        if (holds(r, number_of(entry_text(nodes, i, joined)), number)) return true;
    return false;
}

bool some_node_string(relation r, const node_collection& nodes, std::string_view text) {
    std::string joined;
    for (std::uint32_t i = 0; i < nodes.count(); ++i)
        if (holds(r, entry_text(nodes, i, joined), text)) return true;
    return false;
}

// A collection (on the left) against a value that is none.
bool nodes_against_value(relation r, const node_collection& nodes, path_value& value) {
    if (value.kind == value_kind::kind_bool) return holds(r, nodes.count() != 0 ? 1.0 : 0.0, value.to_number());
    if (is_number(value)) return some_node_number(r, nodes, value.to_number());
    if (value.kind == value_kind::kind_string) {
        if (is_equality(r)) return some_node_string(r, nodes, value.text);
        return some_node_number(r, nodes, value.to_number());
    }
    return false;  // kind_none: no value to compare with
}

// The string values of a collection, kept for the length of one comparison
// and sorted, so that a string of the other side is found by binary search.
class sorted_texts {
public:
    explicit sorted_texts(const node_collection& nodes) {
        texts_.reserve(nodes.count());
        owned_.reserve(nodes.count());  // never reallocated: the views into it stay valid
        std::string joined;
        for (std::uint32_t i = 0; i < nodes.count(); ++i) {
            std::string_view text = entry_text(nodes, i, joined);
            if (!text.empty() && text.data() == joined.data()) {
                owned_.push_back(joined);
                text = owned_.back();
            }
            texts_.push_back(text);
        }
        std::sort(texts_.begin(), texts_.end());
    }
    bool contains(std::string_view text) const { return std::binary_search(texts_.begin(), texts_.end(), text); }

private:
    std::vector<std::string_view> texts_;
    std::vector<std::string> owned_;  // joined values
};

bool some_equal_pair(const node_collection& left, const node_collection& right) {
    const node_collection& smaller = left.count() <= right.count() ? left : right;
    const node_collection& larger = &smaller == &left ? right : left;
    if (smaller.count() == 0) return false;
    sorted_texts kept(smaller);
    std::string joined;
    for (std::uint32_t i = 0; i < larger.count(); ++i)
        if (kept.contains(entry_text(larger, i, joined))) return true;
    return false;
}

// Some pair differs unless every string of both sides is one and the same.
bool some_unequal_pair(const node_collection& left, const node_collection& right) {
    if (left.count() == 0 || right.count() == 0) return false;
    std::string first_joined, joined;
    std::string_view first = entry_text(left, 0, first_joined);
    for (const node_collection* side : {&left, &right})
        for (std::uint32_t i = 0; i < side->count(); ++i)
            if (entry_text(*side, i, joined) != first) return true;
    return false;
}

// The least and greatest number of a collection's nodes, NaN left out;
// `found` is false when every node is NaN or there is none.
struct number_range {
    double least = std::numeric_limits<double>::infinity();
    double greatest = -std::numeric_limits<double>::infinity();
    bool found = false;
};

number_range range_of(const node_collection& nodes) {
    number_range range;
    std::string joined;
    for (std::uint32_t i = 0; i < nodes.count(); ++i) {
        double number = number_of(entry_text(nodes, i, joined));
        if (std::isnan(number)) continue;
        range.least = std::min(range.least, number);
        range.greatest = std::max(range.greatest, number);
        range.found = true;
    }
    return range;
}

// Some a of the left and b of the right with a < b exactly when the left's
// least is below the right's greatest; likewise for the other orderings.
bool some_ordered_pair(relation r, const node_collection& left, const node_collection& right) {
    number_range a = range_of(left), b = range_of(right);
    if (!a.found || !b.found) return false;
    if (r == relation::less || r == relation::less_equal) return holds(r, a.least, b.greatest);
    return holds(r, a.greatest, b.least);
}

bool nodes_against_nodes(relation r, const node_collection& left, const node_collection& right) {
    if (r == relation::equal) return some_equal_pair(left, right);
    if (r == relation::not_equal) return some_unequal_pair(left, right);
    return some_ordered_pair(r, left, right);
}

bool atoms_compared(relation r, path_value& left, path_value& right) {
    if (!is_equality(r)) return holds(r, left.to_number(), right.to_number());
    if (left.kind == value_kind::kind_bool || right.kind == value_kind::kind_bool)
        return holds(r, left.to_bool() ? 1.0 : 0.0, right.to_bool() ? 1.0 : 0.0);
    if (is_number(left) || is_number(right)) return holds(r, left.to_number(), right.to_number());
    return holds(r, std::string_view(left.to_string()), std::string_view(right.to_string()));
}

}  // namespace

bool compare_values(relation r, path_value& left, path_value& right) {
    bool left_nodes = left.kind == value_kind::kind_nodes;
    bool right_nodes = right.kind == value_kind::kind_nodes;
    if (left_nodes && right_nodes) return nodes_against_nodes(r, left.nodes, right.nodes);
    if (left_nodes) return nodes_against_value(r, left.nodes, right);
    if (right_nodes) return nodes_against_value(mirrored(r), right.nodes, left);
    return atoms_compared(r, left, right);
}

}  // namespace xpath
