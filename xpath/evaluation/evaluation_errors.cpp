// The evaluation layer's error helpers.
#include "evaluation_errors.hpp"

#include "front_end/xpath_errors.hpp"

namespace xpath {

void raise_execution_error(execution_code code) {
    throw execution_error(code_of(code));
}

void raise_not_yet() {
    throw error_not_yet(code_of(execution_code::not_yet_evaluated));
}

}  // namespace xpath
