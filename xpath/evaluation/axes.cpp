// Axis walks, along the tree's own links and without recursion, so a deep
// document cannot exhaust the call stack. Only the child axis from every
// element keeps a list: of the parents still to walk.
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

// Where an axis puts its nodes. Walks from distinct inputs along the child,
// attribute, self and node-kind axes can never meet a node twice, so they
// append without a membership test; the other axes add with add_unique.
struct axis_output {
    node_collection& out;
    bool may_repeat;

    void add(TiXmlNode* node) { may_repeat ? out.add_unique(node) : out.append(node); }
    void add(TiXmlAttribute* attribute) { may_repeat ? out.add_unique(attribute) : out.append(attribute); }
};

struct name_filter {
    const std::string& name;
    bool any;

    bool passes(const TiXmlNode* node) const { return any || value_is(node, name); }
    bool passes(const TiXmlAttribute* attribute) const { return any || name_is(attribute, name); }
};

void add_if_passes(TiXmlNode* node, const name_filter& test, axis_output& out) {
    if (test.passes(node)) out.add(node);
}

void add_children(TiXmlElement* x, const name_filter& test, axis_output& out) {
    for (TiXmlElement* child = first_child_element(x); child; child = next_sibling_element(child))
        add_if_passes(child, test, out);
}

void add_attributes(TiXmlElement* x, const name_filter& test, axis_output& out) {
    for (TiXmlAttribute* attribute = x->FirstAttribute(); attribute; attribute = attribute->Next())
        if (test.passes(attribute)) out.add(attribute);
}

void add_ancestors(TiXmlElement* x, const name_filter& test, TiXmlElement* synthetic_root, axis_output& out) {
    for (TiXmlNode* up = x->Parent(); up && up != synthetic_root; up = up->Parent()) add_if_passes(up, test, out);
}

// Element descendants in pre-order, along the tree's own links.
void add_descendants(TiXmlElement* x, const name_filter& test, axis_output& out) {
    for (TiXmlElement* element = first_child_element(x); element; element = next_element_below(x, element))
        add_if_passes(element, test, out);
}

void add_children_of_type(TiXmlElement* x, int type, axis_output& out) {
    for (TiXmlNode* child = x->FirstChild(); child; child = child->NextSibling())
        if (type < 0 || child->Type() == type) out.add(child);
}

// An element sibling, then its own passing element children (one level).
void add_with_children(TiXmlElement* sibling, const name_filter& test, axis_output& out) {
    add_if_passes(sibling, test, out);
    add_children(sibling, test, out);
}

void add_following(TiXmlElement* x, const name_filter& test, axis_output& out) {
    for (TiXmlNode* y = x; y && y->ToElement(); y = y->Parent())
        for (TiXmlElement* s = next_sibling_element(y); s; s = next_sibling_element(s)) add_with_children(s, test, out);
}

void add_preceding(TiXmlElement* x, const name_filter& test, axis_output& out) {
    for (TiXmlNode* s = x->PreviousSibling(); s; s = s->PreviousSibling())
        if (TiXmlElement* element = s->ToElement()) add_with_children(element, test, out);
}

void add_preceding_siblings(TiXmlElement* x, const name_filter& test, axis_output& out) {
    for (TiXmlNode* s = x->PreviousSibling(); s; s = s->PreviousSibling())
        if (s->ToElement()) add_if_passes(s, test, out);
}

void add_following_siblings(TiXmlElement* x, const name_filter& test, axis_output& out) {
    for (TiXmlElement* s = next_sibling_element(x); s; s = next_sibling_element(s)) add_if_passes(s, test, out);
}

bool may_repeat(lex_class axis) {
    switch (axis) {
        case lex_class::axis_child:
        case lex_class::axis_attribute:
        case lex_class::axis_self:
        case lex_class::type_comment:
        case lex_class::type_text:
        case lex_class::type_node: return false;
        default: return true;
    }
}

}  // namespace

TiXmlElement* next_element_below(TiXmlElement* top, TiXmlElement* element) {
    if (TiXmlElement* child = first_child_element(element)) return child;
    for (TiXmlNode* node = element; node && node != top; node = node->Parent())
        if (TiXmlElement* sibling = next_sibling_element(node)) return sibling;
    return nullptr;
}

void walk_axis(TiXmlElement* x, std::int32_t axis, const std::string& name_test, TiXmlElement* synthetic_root,
               node_collection& collection) {
    bool is_root = x == synthetic_root;
    if (axis == default_child_axis) axis = code_of(lex_class::axis_child);
    if (axis == abbreviated_attribute_axis) axis = code_of(lex_class::axis_attribute);
    const name_filter test{name_test, name_test.size() == 1 && name_test[0] == '*'};
    axis_output out{collection, may_repeat(static_cast<lex_class>(axis))};
    switch (static_cast<lex_class>(axis)) {
        case lex_class::axis_child: add_children(x, test, out); break;
        case lex_class::axis_attribute: add_attributes(x, test, out); break;
        case lex_class::axis_parent:
            if (x->Parent()) add_if_passes(x->Parent(), test, out);
            break;
        case lex_class::axis_ancestor: add_ancestors(x, test, synthetic_root, out); break;
        case lex_class::axis_ancestor_or_self:
            if (!is_root) add_if_passes(x, test, out);
            add_ancestors(x, test, synthetic_root, out);
            break;
        case lex_class::axis_self:
            if (!is_root) add_if_passes(x, test, out);
            break;
        case lex_class::axis_descendant: add_descendants(x, test, out); break;
        case lex_class::axis_descendant_or_self:
            if (!is_root) add_if_passes(x, test, out);
            add_descendants(x, test, out);
            break;
        case lex_class::axis_following_sibling: add_following_siblings(x, test, out); break;
        case lex_class::axis_preceding_sibling: add_preceding_siblings(x, test, out); break;
        case lex_class::axis_following: add_following(x, test, out); break;
        case lex_class::axis_preceding: add_preceding(x, test, out); break;
        case lex_class::type_comment: add_children_of_type(x, TiXmlNode::TINYXML_COMMENT, out); break;
        case lex_class::type_text: add_children_of_type(x, TiXmlNode::TINYXML_TEXT, out); break;
        case lex_class::type_node: add_children_of_type(x, -1, out); break;
        case lex_class::type_processing_instruction: break;
        default: raise_not_yet();
    }
}

// Only elements with children can contribute, and the walk over each
// element's children already meets them, so every element is read once: a
// stack keeps, in reverse, the parents whose children are still to walk.
void add_children_of_all(TiXmlElement* top, const std::string& name_test, node_collection& collection) {
    const name_filter test{name_test, name_test.size() == 1 && name_test[0] == '*'};
    std::vector<TiXmlElement*> parents{top};
    while (!parents.empty()) {
        TiXmlElement* parent = parents.back();
        parents.pop_back();
        std::size_t first_new = parents.size();
        for (TiXmlElement* child = first_child_element(parent); child; child = next_sibling_element(child)) {
            if (test.passes(child)) collection.append(child);
            if (child->FirstChild()) parents.push_back(child);
        }
        std::reverse(parents.begin() + static_cast<std::ptrdiff_t>(first_new), parents.end());
    }
}

// Pre-order along the links: a node's first child is visited whatever its
// kind, but after any node only its next element sibling is.
void add_nodes_below(TiXmlNode* from, node_collection& collection, bool may_repeat) {
    const std::string any_name = "*";
    const name_filter any{any_name, true};
    axis_output out{collection, may_repeat};
    for (TiXmlNode* node = from; node;) {
        out.add(node);
        if (TiXmlElement* element = element_or_null(node)) add_attributes(element, any, out);
        if (TiXmlNode* first = node->FirstChild()) {
            node = first;
            continue;
        }
        TiXmlNode* next = nullptr;
        for (; node != from && !next; node = node->Parent()) next = next_sibling_element(node);
        node = next;
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
