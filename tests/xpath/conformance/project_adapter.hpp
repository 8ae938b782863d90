// The project's engine as one side of the conformance test: parses the
// document text with TinyXML as UTF-8, evaluates through the public entry
// xpath::evaluate with the root element as base node, and turns the result
// into an engine_answer with node keys.
#pragma once

#include <string>
#include <vector>

#include "engine_answer.hpp"

namespace conformance {

engine_answer project_answer(const std::string& document, const std::string& expression);

// Every node of the document as TinyXML reads it, in document order (see
// outline_entry); empty when TinyXML refuses the text.
std::vector<std::string> project_outline(const std::string& document);

}  // namespace conformance
