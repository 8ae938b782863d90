// The 27 functions of XPath 1.0, selected by name. Each checks its argument
// count first and pushes exactly one value; every misuse raises
// execution_error with the function's own code (13 for an unknown name).
#pragma once

#include <string>
#include <vector>

#include "evaluation_context.hpp"
#include "path_value.hpp"
#include "value_stack.hpp"

namespace xpath {

// `arguments` holds the values in written order; functions may change them.
// XPath's round(): halves go up, toward positive infinity; NaN, the
// infinities and both zeros stay as they are, and what rounds to zero from
// below is -0.
double xpath_round(double value);

void call_function(value_stack& stack, const evaluation_context& context, const std::string& name,
                   std::vector<path_value>& arguments);

}  // namespace xpath
