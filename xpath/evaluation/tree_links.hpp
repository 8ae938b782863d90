// Access to the links that TinyXML keeps protected in TiXmlNode (parent,
// children, siblings). The evaluator must hang the base node under its
// temporary root without copying it and restore the links exactly
// afterwards, which TinyXML's public interface cannot do without deleting
// nodes. A pointer to a protected base member may be formed through a
// derived class; these helpers do only that and are never instantiated.
#pragma once

#include <tinyxml.h>

namespace xpath {

class tree_links : private TiXmlNode {
public:
    tree_links() = delete;

    static TiXmlNode*& parent_of(TiXmlNode* node) { return node->*(&tree_links::parent); }
    static TiXmlNode*& previous_of(TiXmlNode* node) { return node->*(&tree_links::prev); }
    static TiXmlNode*& next_of(TiXmlNode* node) { return node->*(&tree_links::next); }
    static TiXmlNode*& first_child_of(TiXmlNode* node) { return node->*(&tree_links::firstChild); }
    static TiXmlNode*& last_child_of(TiXmlNode* node) { return node->*(&tree_links::lastChild); }
};

}  // namespace xpath
