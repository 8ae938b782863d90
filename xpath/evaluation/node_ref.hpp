// node_ref: one node of the tree as XPath sees it, with its kind and name.
// TinyXML keeps attributes apart from the nodes and gives them no link to
// their element, so an attribute is named by its element and itself; every
// other node by itself. The root node is a TiXmlDocument: the caller's, or
// the evaluator's temporary one. Declarations and TinyXML's other unknown
// nodes (a DOCTYPE) are no XPath nodes: the axes pass them by.
#pragma once

#include <string>
#include <string_view>

#include <tinyxml.h>

namespace xpath {

struct node_ref {
    TiXmlNode* node = nullptr;            // the node itself, or an attribute's element
    TiXmlAttribute* attribute = nullptr;  // the attribute, or null for every other node

    bool is_attribute() const { return attribute != nullptr; }
    bool operator==(const node_ref& other) const { return node == other.node && attribute == other.attribute; }
    bool operator!=(const node_ref& other) const { return !(*this == other); }
};

inline node_ref node_of(TiXmlNode* node) {
    return node_ref{node, nullptr};
}

// ORDER node_kind
enum class node_kind {
    root,                    // the document
    element,
    attribute,
    text,                    // text and CDATA
    comment,
    processing_instruction,  // TinyXML's unknown node "?target data?"
    hidden,                  // a declaration or another unknown node: no XPath node
};

node_kind kind_of(const TiXmlNode* node);
node_kind kind_of(const node_ref& ref);

// Whether the axes show the node: inline, since every walk asks it of every node.
inline bool is_visible(const TiXmlNode* node) {
    int type = node->Type();
    if (type == TiXmlNode::TINYXML_UNKNOWN) return kind_of(node) != node_kind::hidden;
    return type != TiXmlNode::TINYXML_DECLARATION && type != TiXmlNode::TINYXML_TYPECOUNT;
}

// A processing instruction's target and data, read from TinyXML's
// "?target data?"; the data starts after the white space that follows the target.
std::string_view instruction_target(const TiXmlNode* node);
std::string_view instruction_data(const TiXmlNode* node);

// XPath's name(): an element's tag, an attribute's name, a processing
// instruction's target; "" for the root, texts and comments.
std::string name_of(const node_ref& ref);

}  // namespace xpath
