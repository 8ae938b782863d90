// The thirteen axes and the node tests of a location step, walked over
// TinyXML's links from any node: the root, an element, an attribute, a text,
// a comment or a processing instruction. Each axis gives its nodes in its
// own direction: document order on the forward axes, nearest first (reverse
// document order) on the reverse ones. Walks follow the links in loops, so
// no depth of the document costs stack.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "node_ref.hpp"
#include "tree_text.hpp"

namespace xpath {

enum class axis_kind {
    child,
    attribute,
    namespace_axis,  // always empty: no namespace nodes are modelled
    self,
    parent,
    ancestor,
    ancestor_or_self,
    descendant,
    descendant_or_self,
    following,
    following_sibling,
    preceding,
    preceding_sibling,
};

// The axis an axis keyword names, by its lex_class code (an AxisName's
// variant). Raises action_out_of_place for any other code.
axis_kind axis_of_keyword(std::int32_t code);

// ancestor, ancestor-or-self, preceding and preceding-sibling.
bool is_reverse(axis_kind axis);

struct node_test {
    enum class form {
        any_name,           // "*": any node of the axis's principal kind
        name,               // a name: a node of the principal kind with that name
        any_node,           // node()
        text,               // text()
        comment,            // comment()
        instruction,        // processing-instruction()
        named_instruction,  // processing-instruction('target')
    };
    form test_form = form::any_node;
    std::string name;                  // name and named_instruction
    bool attribute_principal = false;  // the axis's principal kind is attribute, not element

    // Inline: every walk asks it of every node it meets.
    bool matches(const node_ref& ref) const {
        switch (test_form) {
            case form::any_name: return is_principal(ref);
            case form::name: return is_principal(ref) && has_name(ref);
            case form::any_node: return true;
            case form::text: return !ref.attribute && ref.node->Type() == TiXmlNode::TINYXML_TEXT;
            case form::comment: return !ref.attribute && ref.node->Type() == TiXmlNode::TINYXML_COMMENT;
            case form::instruction:
            case form::named_instruction: return is_named_instruction(ref);
        }
        return false;
    }

private:
    bool is_principal(const node_ref& ref) const {
        if (attribute_principal) return ref.attribute != nullptr;
        return !ref.attribute && ref.node->Type() == TiXmlNode::TINYXML_ELEMENT;
    }
    bool has_name(const node_ref& ref) const {
        return ref.attribute ? name_is(ref.attribute, name) : value_is(ref.node, name);
    }
    // A processing instruction, with the target `name` for named_instruction.
    bool is_named_instruction(const node_ref& ref) const;
};

// Appends to `out` the nodes of `axis` from `context` that pass `test`, in
// the axis's own order; the first `limit` of them, where a step needs no more.
void walk_axis(const node_ref& context, axis_kind axis, const node_test& test, std::vector<node_ref>& out,
               std::size_t limit = SIZE_MAX);

// The node after `node` in a pre-order walk of `top`'s subtree, or null
// past its end. Hidden nodes are met too; they have no children.
inline TiXmlNode* next_in_subtree(const TiXmlNode* top, TiXmlNode* node) {
    if (TiXmlNode* child = node->FirstChild()) return child;
    for (; node != top; node = node->Parent())
        if (TiXmlNode* sibling = node->NextSibling()) return sibling;
    return nullptr;
}

}  // namespace xpath
