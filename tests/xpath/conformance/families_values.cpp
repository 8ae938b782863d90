// Families of values: numbers as IEEE doubles beyond 32 bits, division and
// mod, and the conversions to number, to string and to boolean.
#include "expression_family.hpp"
#include "expression_pieces.hpp"

namespace conformance {
namespace {

// Sums, differences and products that leave 32 bits, and negative zero.
std::string ieee_doubles(random_source& random) {
    static const char* const operands[] = {
        "2147483647", "2147483648", "4294967296", "1000000", "99999", "46341", "65536", "0.5", "1.5", "3", "10000000",
        "1000", "-2147483647", "(0 - 2147483647)", "9007199254740993", "0",
    };
    static const char* const operators[] = {" + ", " - ", " * "};
    static const char* const forms[] = {
        "%", "% + 0", "% = %", "% > 2147483647", "% < -2147483648", "-(%)", "1 div (%)",
    };
    std::string form = one_of(random, forms);
    std::string left = one_of(random, operands);
    std::string op = one_of(random, operators);
    std::string right = one_of(random, operands);
    std::string other = one_of(random, operands);
    std::string sum = left + op + right;
    if (form == "% = %") return fill(form, {sum, other + op + right});
    if (form == "1 div (%)" && random.percent(50)) return "1 div (0 * -" + right + ")";
    return fill(form, {sum});
}

std::string division_mod(random_source& random) {
    static const char* const operands[] = {
        "0", "5", "-5", "7", "2.5", "5.5", "-5.5", "2", "-2", "0.5", "(1 div 0)", "(-1 div 0)", "-0", "3", "10",
    };
    static const char* const operators[] = {" div ", " mod "};
    return fill("%%%", {one_of(random, operands), one_of(random, operators), one_of(random, operands)});
}

const char* const number_texts[] = {
    "12", " 12 ", "\t12\n", "-3", "+5", "1e3", ".5", "5.", "-.5", "", "abc", "1 2", " -0 ", "--1", "0x10", "1,5",
    "Infinity", "NaN", "12abc", "\r\n7", "2.50", "- 1", "007", "1.2.3", "-", ".", "99999999999",
};

std::string to_number(random_source& random) {
    static const char* const forms[] = {
        "% + 0", "-%", "% * 1", "% - 0", "true() + 1", "false() - 1", "@n + 0", "a/@x * 1", "child::text() + 0",
        "-(*/@id)",
    };
    std::string form = one_of(random, forms);
    return fill(form, {literal(one_of(random, number_texts))});
}

// Numbers whose written form is the question. None needs 17 significant
// digits (0.1 + 0.2): neither peer writes those in the fewest digits that
// read back, so no answer here could be trusted.
std::string to_string(random_source& random) {
    static const char* const numbers[] = {
        "1 div 3", "0.0000001", "1 div 0", "-1 div 0", "0 div 0", "-0", "0 * -1", "1.5", "-1.5", "100",
        "1000000 * 1000000", "0.5", "2 div 3", "12345.678", "1 div 10000000", "3.0", "1 div 1024", "2147483648",
        "-2147483649", "0.1", "1000000000000000000000", "0.000001", "-0.25", "1 div 3 * 3", "-(1 div 3)",
        "3000000000.5", "12345678901",
    };
    static const char* const forms[] = {
        "concat('', %)", "concat('', %)", "concat(%, '') = '0'", "string-length(concat(%, ''))",
    };
    std::string form = one_of(random, forms);
    if (random.percent(10)) return random.percent(50) ? "concat(true(), '')" : "concat('', false())";
    return fill(form, {one_of(random, numbers)});
}

std::string to_boolean(random_source& random) {
    static const char* const values[] = {
        "0", "-0", "1", "0 div 0", "''", "'0'", "'false'", "' '", "a", "zz", "0.5", "-1", "1 div 0", "0 * -1", "@id",
        "child::text()", "child::comment()", "'x'", "*",
    };
    static const char* const forms[] = {"not(%)", "not(not(%))"};
    std::string form = one_of(random, forms);
    return fill(form, {one_of(random, values)});
}

}  // namespace

std::vector<expression_family> value_families() {
    return {
        {"values.ieee_doubles", {}, ieee_doubles}, {"values.division_mod", {}, division_mod},
        {"values.to_number", {}, to_number},       {"values.to_string", {}, to_string},
        {"values.to_boolean", {}, to_boolean},
    };
}

}  // namespace conformance
