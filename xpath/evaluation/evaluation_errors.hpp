// Raising the evaluation errors: every execution_error and error_not_yet of
// the evaluation layer is thrown through these two helpers, so that no other
// code builds error objects. The codes are the contract that tests check.
#pragma once

#include "execution_code.hpp"

namespace xpath {

[[noreturn]] void raise_execution_error(execution_code code);
// A construct the engine does not evaluate (always not_yet_evaluated).
[[noreturn]] void raise_not_yet();

}  // namespace xpath
