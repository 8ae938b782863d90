// libxml2 as the reference side of the conformance test, used as a black box
// through its public interface: the same document text, the context node set
// to the root element, the answer turned into an engine_answer with the same
// node keys. Its error output is silenced; its global state is released at
// exit, so that leak checks see nothing of it.
#pragma once

#include <string>
#include <vector>

#include "engine_answer.hpp"

namespace conformance {

engine_answer libxml2_answer(const std::string& document, const std::string& expression);

// Every node of the document as libxml2 reads it, in document order (see
// outline_entry); empty when libxml2 refuses the text.
std::vector<std::string> libxml2_outline(const std::string& document);

}  // namespace conformance
