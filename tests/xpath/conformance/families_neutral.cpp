// The neutral family: only the constructs the other families lean on (child
// paths of name tests, small integers, +, - and * on them, count() of a
// child path, literals). Its cases must all agree; a mismatch here means
// that the other families' mismatches no longer point at their rules.
#include "expression_family.hpp"
#include "expression_pieces.hpp"

namespace conformance {
namespace {

std::string neutral(random_source& random) {
    static const char* const operators[] = {" + ", " - ", " * "};
    static const char* const literals[] = {"'x'", "'abc'", "\"7\"", "''", "'a b'"};
    switch (random.below(5)) {
        case 0: return child_path(random);
        case 1: return neutral_number(random);
        case 2: return fill("%%%", {neutral_number(random), one_of(random, operators), neutral_number(random)});
        case 3: return one_of(random, literals);
        default: return random.percent(50) ? "true()" : "false()";
    }
}

}  // namespace

std::vector<expression_family> neutral_families() { return {{"neutral.baseline", {}, neutral}}; }

}  // namespace conformance
