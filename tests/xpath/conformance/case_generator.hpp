// The case generator: case number i of a seed comes from the family i mod
// the number of families, with a random source of its own made from the
// seed and i, so every case can be made again alone, on every platform.
#pragma once

#include <cstdint>
#include <vector>

#include "conformance_case.hpp"
#include "expression_family.hpp"

namespace conformance {

// Every family, in a fixed order.
const std::vector<expression_family>& all_families();

conformance_case generate_case(std::uint32_t seed, std::uint32_t index);

}  // namespace conformance
