// Families of comparisons, one per pair of operand types. The node-sets hold
// attributes and text nodes, whose string values are their own text.
#include "expression_family.hpp"
#include "expression_pieces.hpp"

namespace conformance {
namespace {

const char* const comparison_operators[] = {" = ", " != ", " < ", " <= ", " > ", " >= "};
const char* const node_sets[] = {
    "@id", "a/@x", "*/@n", "child::text()", "a/text()", "*/@*", "zz", "b/text()", "@*", "*/text()",
};
const char* const strings[] = {"'7'", "'x'", "''", "'12'", "'2.5'", "'abc'", "'1'", "' 7 '", "'54'", "'a b'"};
const char* const numbers[] = {"7", "1", "0", "2.5", "12", "-3", "54", "0 div 0", "1 div 0", "3"};
const char* const booleans[] = {"true()", "false()", "(1 = 1)", "(1 = 2)"};

// One side of each type, in a random order.
std::string compare(random_source& random, const std::string& one, const std::string& other) {
    std::string op = one_of(random, comparison_operators);
    if (random.percent(50)) return one + op + other;
    return other + op + one;
}

std::string nodes_nodes(random_source& random) {
    std::string left = one_of(random, node_sets);
    std::string right = one_of(random, node_sets);
    return compare(random, left, right);
}

std::string nodes_string(random_source& random) {
    std::string left = one_of(random, node_sets);
    std::string right = one_of(random, strings);
    return compare(random, left, right);
}

std::string nodes_number(random_source& random) {
    std::string left = one_of(random, node_sets);
    std::string right = one_of(random, numbers);
    return compare(random, left, right);
}

std::string nodes_boolean(random_source& random) {
    std::string left = one_of(random, node_sets);
    std::string right = one_of(random, booleans);
    return compare(random, left, right);
}

std::string boolean_other(random_source& random) {
    std::string left = one_of(random, booleans);
    std::string right = random.percent(50) ? one_of(random, numbers) : one_of(random, strings);
    if (random.percent(20)) right = one_of(random, booleans);
    return compare(random, left, right);
}

std::string number_string(random_source& random) {
    std::string left = one_of(random, numbers);
    std::string right = one_of(random, strings);
    return compare(random, left, right);
}

std::string string_string(random_source& random) {
    std::string left = one_of(random, strings);
    std::string right = one_of(random, strings);
    return compare(random, left, right);
}

std::string number_number(random_source& random) {
    std::string left = one_of(random, numbers);
    std::string right = one_of(random, numbers);
    return compare(random, left, right);
}

}  // namespace

std::vector<expression_family> comparison_families() {
    return {
        {"comparisons.nodes_nodes", {}, nodes_nodes},     {"comparisons.nodes_string", {}, nodes_string},
        {"comparisons.nodes_number", {}, nodes_number},   {"comparisons.nodes_boolean", {}, nodes_boolean},
        {"comparisons.boolean_other", {}, boolean_other}, {"comparisons.number_string", {}, number_string},
        {"comparisons.string_string", {}, string_string}, {"comparisons.number_number", {}, number_number},
    };
}

}  // namespace conformance
