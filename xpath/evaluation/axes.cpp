// Axis walks. The descendant walks are iterative, so a deep document cannot
// exhaust the call stack here.
#include "axes.hpp"

#include <algorithm>
#include <vector>

#include <tinyxml.h>

#include "evaluation_errors.hpp"
#include "tree_text.hpp"
#include "xpath/front_end/lex_class.hpp"

namespace xpath {
namespace {

constexpr std::int32_t default_child_axis = 0;
constexpr std::int32_t abbreviated_attribute_axis = 1;

bool passes(const TiXmlNode* node, const std::string& name_test) {
    return name_test == "*" || value_is(node, name_test);
}

void add_if_passes(TiXmlNode* node, const std::string& name_test, node_collection& out) {
    if (passes(node, name_test)) out.add_unique(node);
}

void add_children(TiXmlElement* x, const std::string& name_test, node_collection& out) {
    for (TiXmlElement* child = x->FirstChildElement(); child; child = child->NextSiblingElement())
        add_if_passes(child, name_test, out);
}

void add_attributes(TiXmlElement* x, const std::string& name_test, node_collection& out) {
    for (TiXmlAttribute* attribute = x->FirstAttribute(); attribute; attribute = attribute->Next())
        if (name_test == "*" || name_is(attribute, name_test)) out.add_unique(attribute);
}

void add_ancestors(TiXmlElement* x, const std::string& name_test, TiXmlElement* synthetic_root,
                   node_collection& out) {
    for (TiXmlNode* up = x->Parent(); up && up != synthetic_root; up = up->Parent()) add_if_passes(up, name_test, out);
}

// Pushes the element children of `x` so that the first comes off the stack first.
void push_element_children(TiXmlElement* x, std::vector<TiXmlElement*>& pending) {
    std::size_t first = pending.size();
    for (TiXmlElement* child = x->FirstChildElement(); child; child = child->NextSiblingElement())
        pending.push_back(child);
    std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(first), pending.end());
}

// Element descendants in pre-order.
void add_descendants(TiXmlElement* x, const std::string& name_test, node_collection& out) {
    std::vector<TiXmlElement*> pending;
    push_element_children(x, pending);
    while (!pending.empty()) {
        TiXmlElement* element = pending.back();
        pending.pop_back();
        add_if_passes(element, name_test, out);
        push_element_children(element, pending);
    }
}

void add_children_of_type(TiXmlElement* x, int type, node_collection& out) {
    for (TiXmlNode* child = x->FirstChild(); child; child = child->NextSibling())
        if (type < 0 || child->Type() == type) out.add_unique(child);
}

// An element sibling, then its own passing element children (one level).
void add_with_children(TiXmlElement* sibling, const std::string& name_test, node_collection& out) {
    add_if_passes(sibling, name_test, out);
    add_children(sibling, name_test, out);
}

void add_following(TiXmlElement* x, const std::string& name_test, node_collection& out) {
    for (TiXmlNode* y = x; y && y->ToElement(); y = y->Parent())
        for (TiXmlElement* s = y->NextSiblingElement(); s; s = s->NextSiblingElement())
            add_with_children(s, name_test, out);
}

void add_preceding(TiXmlElement* x, const std::string& name_test, node_collection& out) {
    for (TiXmlNode* s = x->PreviousSibling(); s; s = s->PreviousSibling())
        if (TiXmlElement* element = s->ToElement()) add_with_children(element, name_test, out);
}

void add_preceding_siblings(TiXmlElement* x, const std::string& name_test, node_collection& out) {
    for (TiXmlNode* s = x->PreviousSibling(); s; s = s->PreviousSibling())
        if (s->ToElement()) add_if_passes(s, name_test, out);
}

void add_following_siblings(TiXmlElement* x, const std::string& name_test, node_collection& out) {
    for (TiXmlElement* s = x->NextSiblingElement(); s; s = s->NextSiblingElement()) add_if_passes(s, name_test, out);
}

}  // namespace

void walk_axis(TiXmlElement* x, std::int32_t axis, const std::string& name_test, TiXmlElement* synthetic_root,
               node_collection& out) {
    bool is_root = x == synthetic_root;
    if (axis == default_child_axis) axis = code_of(lex_class::axis_child);
    if (axis == abbreviated_attribute_axis) axis = code_of(lex_class::axis_attribute);
    switch (static_cast<lex_class>(axis)) {
        case lex_class::axis_child: add_children(x, name_test, out); break;
        case lex_class::axis_attribute: add_attributes(x, name_test, out); break;
        case lex_class::axis_parent:
            if (x->Parent()) add_if_passes(x->Parent(), name_test, out);
            break;
        case lex_class::axis_ancestor: add_ancestors(x, name_test, synthetic_root, out); break;
        case lex_class::axis_ancestor_or_self:
            if (!is_root) add_if_passes(x, name_test, out);
            add_ancestors(x, name_test, synthetic_root, out);
            break;
        case lex_class::axis_self:
            if (!is_root) add_if_passes(x, name_test, out);
            break;
        case lex_class::axis_descendant: add_descendants(x, name_test, out); break;
        case lex_class::axis_descendant_or_self:
            if (!is_root) add_if_passes(x, name_test, out);
            add_descendants(x, name_test, out);
            break;
        case lex_class::axis_following_sibling: add_following_siblings(x, name_test, out); break;
        case lex_class::axis_preceding_sibling: add_preceding_siblings(x, name_test, out); break;
        case lex_class::axis_following: add_following(x, name_test, out); break;
        case lex_class::axis_preceding: add_preceding(x, name_test, out); break;
        case lex_class::type_comment: add_children_of_type(x, TiXmlNode::TINYXML_COMMENT, out); break;
        case lex_class::type_text: add_children_of_type(x, TiXmlNode::TINYXML_TEXT, out); break;
        case lex_class::type_node: add_children_of_type(x, -1, out); break;
        case lex_class::type_processing_instruction: break;
        default: raise_not_yet();
    }
}

void add_nodes_below(TiXmlNode* from, node_collection& out) {
    std::vector<TiXmlNode*> pending{from};
    while (!pending.empty()) {
        TiXmlNode* node = pending.back();
        pending.pop_back();
        out.add_unique(node);
        if (TiXmlElement* element = node->ToElement()) add_attributes(element, "*", out);
        TiXmlNode* first = node->FirstChild();
        if (!first) continue;
        std::vector<TiXmlNode*> children{first};
        for (TiXmlNode* sibling = first->NextSibling(); sibling; sibling = sibling->NextSibling())
            if (sibling->ToElement()) children.push_back(sibling);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
}

std::int32_t sibling_position(const TiXmlElement* element, bool by_name) {
    const TiXmlNode* parent = element->Parent();
    if (!parent) return -1;
    const char* name = by_name ? element->Value() : nullptr;
    std::int32_t position = 1;
    for (const TiXmlElement* sibling = name ? parent->FirstChildElement(name) : parent->FirstChildElement(); sibling;
         sibling = name ? sibling->NextSiblingElement(name) : sibling->NextSiblingElement(), ++position)
        if (sibling == element) return position;
    return -1;
}

std::int32_t sibling_count(const TiXmlElement* element) {
    const TiXmlNode* parent = element->Parent();
    std::int32_t count = 0;
    if (parent)
        for (const TiXmlElement* sibling = parent->FirstChildElement(); sibling; sibling = sibling->NextSiblingElement())
            ++count;
    return count;
}

}  // namespace xpath
