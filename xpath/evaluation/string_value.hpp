// The string value of a node as XPath reads it: of an element and of the
// root node, the text of all its descendant text nodes (CDATA included) in
// document order; of an attribute its value; of a text or a comment its
// text; of a processing instruction its data. Every conversion, comparison
// and function that reads a node's string reads it here.
#pragma once

#include <string>
#include <string_view>

#include "node_ref.hpp"

namespace xpath {

// The string value itself, as a new string.
std::string string_value(const node_ref& ref);
std::string string_value(const TiXmlNode* node);
std::string string_value(const TiXmlAttribute* attribute);

// The string value without a copy where the tree holds it as one text (an
// attribute, a text, a comment, an element with at most one text child);
// otherwise joined into `joined`, which the view then names. The view lives
// as long as the tree and `joined` stay unchanged.
std::string_view string_value_view(const node_ref& ref, std::string& joined);
std::string_view string_value_view(const TiXmlNode* node, std::string& joined);
std::string_view string_value_view(const TiXmlAttribute* attribute);

}  // namespace xpath
