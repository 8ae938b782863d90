// The six comparison operators of XPath over path values. With a node
// collection on either side the test is existential: it holds when it holds
// for some node, or for some pair of nodes of two collections, comparing the
// node's string value with a string, its number with a number and the
// collection's truth with a boolean. Otherwise "=" and "!=" compare as
// booleans if either side is one, else as numbers if either side is one,
// else as strings; the four orderings compare numbers. Every comparison with
// NaN is false, except "!=".
#pragma once

#include "path_value.hpp"

namespace xpath {

enum class relation { equal, not_equal, less, less_equal, greater, greater_equal };

// Node collections are read in place, never sorted.
bool compare_values(relation r, path_value& left, path_value& right);

}  // namespace xpath
