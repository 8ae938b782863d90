// Names for the numbers on xpath-eval's action lines: the grammar rule and,
// for rules with more than one form, the form the walker recorded. The
// numbers themselves come from xpath/front_end/action_codes.hpp.
#pragma once

#include <cstdint>
#include <string>

namespace xpath_eval {

// "RelativeLocationPath step_slash_path", "LocalPart"; a number that no rule
// or form has reads as "?".
std::string action_names(std::int32_t rule, std::int32_t sub_kind);

}  // namespace xpath_eval
