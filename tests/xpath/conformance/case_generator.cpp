// The case generator over the family groups.
#include "case_generator.hpp"

#include "document_generator.hpp"

namespace conformance {
namespace {

std::vector<expression_family> assemble_families() {
    std::vector<expression_family> families;
    for (auto group : {neutral_families, tree_families, step_families, value_families, operator_families,
                       comparison_families, function_families, syntax_families}) {
        std::vector<expression_family> more = group();
        families.insert(families.end(), more.begin(), more.end());
    }
    return families;
}

// Seed and index mixed into one 32-bit seed (the mixing step of splitmix64).
std::uint32_t case_seed(std::uint32_t seed, std::uint32_t index) {
    std::uint64_t z = (static_cast<std::uint64_t>(seed) << 32 | index) + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<std::uint32_t>(z ^ (z >> 31));
}

}  // namespace

const std::vector<expression_family>& all_families() {
    static const std::vector<expression_family> families = assemble_families();
    return families;
}

conformance_case generate_case(std::uint32_t seed, std::uint32_t index) {
    const std::vector<expression_family>& families = all_families();
    const expression_family& family = families[index % families.size()];
    random_source random(case_seed(seed, index));
    conformance_case made;
    made.rule = family.rule;
    made.document = random_document(random, family.shape);
    made.expression = family.make(random);
    return made;
}

}  // namespace conformance
