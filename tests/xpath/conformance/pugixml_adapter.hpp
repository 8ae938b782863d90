// pugixml as the second opinion of the conformance test, used as a black box
// through its public interface, with the same answer form and node keys as
// the reference. Built only where pugixml is installed
// (pugixml_adapter.cpp); elsewhere pugixml_absent.cpp says it is not there.
#pragma once

#include <string>

#include "engine_answer.hpp"

namespace conformance {

bool pugixml_available();

// Only when pugixml_available(): node-sets come sorted into document order.
engine_answer pugixml_answer(const std::string& document, const std::string& expression);

}  // namespace conformance
