// The evaluation layer's error helpers.
#include "evaluation_errors.hpp"

#include "xpath/front_end/xpath_errors.hpp"

namespace xpath {

void raise_execution_error(std::int32_t code) {
    throw execution_error(code);
}

void raise_not_yet() {
    throw error_not_yet(-2);
}

}  // namespace xpath
