// One conformance case: a document text, an expression evaluated against its
// root element, and the name of the rule the expression exercises. Made by
// the case generator or written by hand (hand_written_cases), judged by
// conformance_run.
#pragma once

#include <string>

namespace conformance {

struct conformance_case {
    std::string rule;        // "operators.chains"
    std::string document;    // one root element, nothing outside it
    std::string expression;  // evaluated with the root element as context node
};

}  // namespace conformance
