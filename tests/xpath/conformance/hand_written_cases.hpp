// Hand-written conformance cases, each with its rule: forms the generator
// reaches poorly, and the deliberate limits (namespaces, TinyXML's tree
// model), which stay known differences.
#pragma once

#include <vector>

#include "conformance_case.hpp"

namespace conformance {

const std::vector<conformance_case>& hand_written_cases();

}  // namespace conformance
