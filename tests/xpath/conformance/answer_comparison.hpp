// When two engines gave the same answer: every error equals every error;
// numbers compare numerically, NaN equal to NaN and +0 to -0, whatever kind
// of number each engine holds; strings and booleans exactly; node-sets as
// ordered lists of node keys. Values of different kinds always differ.
#pragma once

#include "engine_answer.hpp"

namespace conformance {

bool same_answer(const engine_answer& ours, const engine_answer& reference);

}  // namespace conformance
