// The axes of a location step, walked over TinyXML's links from one element.
// Results are added in the order each axis defines, without duplicates;
// nothing is sorted here.
#pragma once

#include <cstdint>
#include <string>

#include <tinyxml.h>

#include "node_collection.hpp"

namespace xpath {

// TinyXML's element look-ups are calls into the library with a virtual test
// per node; the walks use these, which read the links and the type inline.
inline TiXmlElement* element_or_null(TiXmlNode* node) {
    return node && node->Type() == TiXmlNode::TINYXML_ELEMENT ? static_cast<TiXmlElement*>(node) : nullptr;
}

inline TiXmlElement* first_child_element(TiXmlNode* node) {
    TiXmlNode* child = node->FirstChild();
    while (child && child->Type() != TiXmlNode::TINYXML_ELEMENT) child = child->NextSibling();
    return static_cast<TiXmlElement*>(child);
}

inline TiXmlElement* next_sibling_element(TiXmlNode* node) {
    TiXmlNode* sibling = node->NextSibling();
    while (sibling && sibling->Type() != TiXmlNode::TINYXML_ELEMENT) sibling = sibling->NextSibling();
    return static_cast<TiXmlElement*>(sibling);
}

inline const TiXmlElement* first_child_element(const TiXmlNode* node) {
    return first_child_element(const_cast<TiXmlNode*>(node));  // reads only
}

inline const TiXmlElement* next_sibling_element(const TiXmlNode* node) {
    return next_sibling_element(const_cast<TiXmlNode*>(node));  // reads only
}

// Adds the nodes of `axis` (a lex_class axis or node-type code; 0 for the
// default child axis, 1 for "@") from `x` that pass `name_test` ("*" or a
// name; ignored by the node-kind axes). Raises error_not_yet for an axis the
// engine does not walk. processing-instruction() selects nothing: TinyXML
// keeps no such nodes.
void walk_axis(TiXmlElement* x, std::int32_t axis, const std::string& name_test, TiXmlElement* synthetic_root,
               node_collection& out);

// Adds `from` and everything below it: each node, an element's attributes
// after it, then its first child (any kind) and the following siblings that
// are elements, recursively. `may_repeat`: the collection may hold some of
// them already (add_unique); otherwise they are appended.
void add_nodes_below(TiXmlNode* from, node_collection& out, bool may_repeat);

// The child axis from `top` and from every element below it, in pre-order:
// the same as walk_axis over each of them in turn.
void add_children_of_all(TiXmlElement* top, const std::string& name_test, node_collection& out);

// The element after `element` in a pre-order walk of `top` and the elements
// below it, or null at the end: its first element child, else the next
// element sibling of it or of its nearest ancestor below `top`.
TiXmlElement* next_element_below(TiXmlElement* top, TiXmlElement* element);

// 1-based position of `element` among its parent's element children (only
// those of its own name when `by_name`); -1 when it has no parent or is not
// found among them.
std::int32_t sibling_position(const TiXmlElement* element, bool by_name);

// The number of element children of the element's parent; 0 without a parent.
std::int32_t sibling_count(const TiXmlElement* element);

}  // namespace xpath
