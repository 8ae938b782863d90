// Families of operators: precedence between levels, chains within a level,
// and/or, union.
#include "expression_family.hpp"
#include "expression_pieces.hpp"

namespace conformance {
namespace {

// Operators of each binary level, loosest first.
const char* const or_level[] = {" or "};
const char* const and_level[] = {" and "};
const char* const equality_level[] = {" = ", " != "};
const char* const relational_level[] = {" < ", " <= ", " > ", " >= "};
const char* const additive_level[] = {" + ", " - "};
const char* const multiplicative_level[] = {" * ", " div ", " mod "};

std::string level_operator(random_source& random, std::uint32_t level) {
    switch (level) {
        case 0: return one_of(random, or_level);
        case 1: return one_of(random, and_level);
        case 2: return one_of(random, equality_level);
        case 3: return one_of(random, relational_level);
        case 4: return one_of(random, additive_level);
        default: return one_of(random, multiplicative_level);
    }
}

// A small integer other than zero, so that no division by zero (a rule of
// its own) enters these families.
std::string operand(random_source& random) {
    std::string digit = std::to_string(random.between(1, 9));
    if (random.percent(15)) return "-" + digit;
    return digit;
}

// "* div" or "* mod" on positive operands: the quotients stay exact, and no
// remainder of a fraction or of a negative number (the division rule's
// business) occurs.
std::string multiplicative_chain(random_source& random, std::int32_t count) {
    const char* second = random.percent(50) ? " div " : " mod ";
    std::string expression = std::to_string(random.between(1, 9));
    for (std::int32_t i = 1; i < count; ++i) {
        expression += random.percent(50) ? " * " : second;
        expression += std::to_string(random.between(1, 9));
    }
    return expression;
}

// Three or four operands and operators of distinct levels, no parentheses:
// only precedence decides how they group, and no level forms a chain.
std::string precedence(random_source& random) {
    std::uint32_t levels[] = {0, 1, 2, 3, 4, 5};
    std::uint32_t count = static_cast<std::uint32_t>(random.between(2, 3));
    std::string expression = operand(random);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t pick = i + random.below(6 - i);  // a level not used yet
        std::swap(levels[i], levels[pick]);
        expression += level_operator(random, levels[i]);
        expression += operand(random);
    }
    if (random.percent(15)) return "- " + expression;
    return expression;
}

// Three to five operands at one binary level, or three to five unary minus
// signs before one operand.
std::string chains(random_source& random) {
    std::uint32_t level = random.below(8);
    std::int32_t count = random.between(3, 5);
    if (level == 6) {  // the union level
        std::string expression = "count(" + name_test(random);
        for (std::int32_t i = 1; i < count; ++i) expression += " | " + name_test(random);
        return expression + ")";
    }
    if (level == 5) return multiplicative_chain(random, count);
    if (level == 7) {  // unary minus
        std::string signs;
        for (std::int32_t i = 0; i < count; ++i) signs += random.percent(50) ? "- " : "-";
        return signs + neutral_number(random);
    }
    std::string expression = operand(random);
    for (std::int32_t i = 1; i < count; ++i) {
        expression += level_operator(random, level);
        expression += level < 2 && random.percent(50) ? name_test(random) : operand(random);
    }
    return expression;
}

std::string and_or(random_source& random) {
    static const char* const operands[] = {
        "0", "1", "''", "'x'", "a", "zz", "true()", "false()", "-0", "@id", "child::text()", "'0'", "2",
    };
    static const char* const operators[] = {" and ", " or "};
    return fill("%%%", {one_of(random, operands), one_of(random, operators), one_of(random, operands)});
}

std::string union_sets(random_source& random) {
    static const char* const parts[] = {"a", "b", "a/b", "*", "b/c", "zz", "a", "(a)", "//c", "b/a"};
    static const char* const non_sets[] = {"1", "'a'", "true()", "count(a)"};
    static const char* const forms[] = {"% | %", "% | %", "count(% | %)", "(% | %)[1]", "(% | %)[last()]"};
    std::string form = one_of(random, forms);
    std::string left = one_of(random, parts);
    std::string right = random.percent(12) ? one_of(random, non_sets) : one_of(random, parts);
    return fill(form, {left, right});
}

}  // namespace

std::vector<expression_family> operator_families() {
    return {
        {"operators.precedence", {}, precedence},
        {"operators.chains", {}, chains},
        {"operators.and_or", {}, and_or},
        {"operators.union", {}, union_sets},
    };
}

}  // namespace conformance
