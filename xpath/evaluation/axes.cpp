// Axis walks. `following` and `preceding` cover the whole tree: from the
// context node up to the root, each sibling after (before) the way up with
// its whole subtree. An attribute has its element as parent and no
// children or siblings; its following nodes begin with its element's
// children, its preceding nodes are its element's.
#include "axes.hpp"

#include <tinyxml.h>

#include "evaluation_errors.hpp"
#include "front_end/lex_class.hpp"

namespace xpath {
namespace {

// Adds the nodes that pass the test, up to the limit; hidden nodes never
// reach it. The walks stop once it is full.
struct axis_sink {
    const node_test& test;
    std::vector<node_ref>& out;
    std::size_t room;

    void add(const node_ref& ref) {
        if (room > 0 && test.matches(ref)) {
            out.push_back(ref);
            --room;
        }
    }
    void add(TiXmlNode* node) {
        if (is_visible(node)) add(node_of(node));
    }
    bool full() const { return room == 0; }
};

void add_children(TiXmlNode* x, axis_sink& sink) {
    for (TiXmlNode* child = x->FirstChild(); child && !sink.full(); child = child->NextSibling()) sink.add(child);
}

void add_attributes(TiXmlNode* x, axis_sink& sink) {
    TiXmlElement* element = x->ToElement();
    if (!element) return;
    for (TiXmlAttribute* attribute = element->FirstAttribute(); attribute && !sink.full(); attribute = attribute->Next())
        sink.add(node_ref{element, attribute});
}

// From `first` up to the root, nearest first.
void add_up_from(TiXmlNode* first, axis_sink& sink) {
    for (TiXmlNode* up = first; up && !sink.full(); up = up->Parent()) sink.add(up);
}

void add_descendants(TiXmlNode* x, axis_sink& sink) {
    for (TiXmlNode* node = x->FirstChild(); node && !sink.full(); node = next_in_subtree(x, node)) sink.add(node);
}

// `top` and its descendants in document order.
void add_subtree(TiXmlNode* top, axis_sink& sink) {
    for (TiXmlNode* node = top; node && !sink.full(); node = next_in_subtree(top, node)) sink.add(node);
}

TiXmlNode* deepest_last(TiXmlNode* node) {
    while (TiXmlNode* last = node->LastChild()) node = last;
    return node;
}

// `top` and its descendants in reverse document order: the last descendant
// first, `top` last.
void add_subtree_reversed(TiXmlNode* top, axis_sink& sink) {
    for (TiXmlNode* node = deepest_last(top);;) {
        sink.add(node);
        if (node == top || sink.full()) return;
        TiXmlNode* previous = node->PreviousSibling();
        node = previous ? deepest_last(previous) : node->Parent();
    }
}

void add_following(TiXmlNode* x, axis_sink& sink) {
    for (TiXmlNode* y = x; y; y = y->Parent())
        for (TiXmlNode* sibling = y->NextSibling(); sibling && !sink.full(); sibling = sibling->NextSibling())
            add_subtree(sibling, sink);
}

void add_preceding(TiXmlNode* x, axis_sink& sink) {
    for (TiXmlNode* y = x; y; y = y->Parent())
        for (TiXmlNode* sibling = y->PreviousSibling(); sibling && !sink.full(); sibling = sibling->PreviousSibling())
            add_subtree_reversed(sibling, sink);
}

void add_following_siblings(TiXmlNode* x, axis_sink& sink) {
    for (TiXmlNode* sibling = x->NextSibling(); sibling && !sink.full(); sibling = sibling->NextSibling())
        sink.add(sibling);
}

void add_preceding_siblings(TiXmlNode* x, axis_sink& sink) {
    for (TiXmlNode* sibling = x->PreviousSibling(); sibling && !sink.full(); sibling = sibling->PreviousSibling())
        sink.add(sibling);
}

// The axes that an attribute shares with its element's point in the tree.
void walk_from_attribute(const node_ref& context, axis_kind axis, axis_sink& sink) {
    switch (axis) {
        case axis_kind::self:
        case axis_kind::descendant_or_self: sink.add(context); break;
        case axis_kind::ancestor_or_self:
            sink.add(context);
            add_up_from(context.node, sink);
            break;
        case axis_kind::parent: sink.add(context.node); break;
        case axis_kind::ancestor: add_up_from(context.node, sink); break;
        case axis_kind::following:
            add_descendants(context.node, sink);
            add_following(context.node, sink);
            break;
        case axis_kind::preceding: add_preceding(context.node, sink); break;
        default: break;  // no children, attributes or siblings
    }
}

void walk_from_node(TiXmlNode* x, axis_kind axis, axis_sink& sink) {
    switch (axis) {
        case axis_kind::child: add_children(x, sink); break;
        case axis_kind::attribute: add_attributes(x, sink); break;
        case axis_kind::namespace_axis: break;
        case axis_kind::self: sink.add(x); break;
        case axis_kind::parent:
            if (TiXmlNode* parent = x->Parent()) sink.add(parent);
            break;
        case axis_kind::ancestor: add_up_from(x->Parent(), sink); break;
        case axis_kind::ancestor_or_self: add_up_from(x, sink); break;
        case axis_kind::descendant: add_descendants(x, sink); break;
        case axis_kind::descendant_or_self: add_subtree(x, sink); break;
        case axis_kind::following: add_following(x, sink); break;
        case axis_kind::following_sibling: add_following_siblings(x, sink); break;
        case axis_kind::preceding: add_preceding(x, sink); break;
        case axis_kind::preceding_sibling: add_preceding_siblings(x, sink); break;
    }
}

}  // namespace

axis_kind axis_of_keyword(std::int32_t code) {
    switch (static_cast<lex_class>(code)) {
        case lex_class::axis_ancestor: return axis_kind::ancestor;
        case lex_class::axis_ancestor_or_self: return axis_kind::ancestor_or_self;
        case lex_class::axis_attribute: return axis_kind::attribute;
        case lex_class::axis_child: return axis_kind::child;
        case lex_class::axis_descendant: return axis_kind::descendant;
        case lex_class::axis_descendant_or_self: return axis_kind::descendant_or_self;
        case lex_class::axis_following: return axis_kind::following;
        case lex_class::axis_following_sibling: return axis_kind::following_sibling;
        case lex_class::axis_namespace: return axis_kind::namespace_axis;
        case lex_class::axis_parent: return axis_kind::parent;
        case lex_class::axis_preceding: return axis_kind::preceding;
        case lex_class::axis_preceding_sibling: return axis_kind::preceding_sibling;
        case lex_class::axis_self: return axis_kind::self;
        default: raise_execution_error(execution_code::action_out_of_place);
    }
}

bool is_reverse(axis_kind axis) {
    return axis == axis_kind::ancestor || axis == axis_kind::ancestor_or_self || axis == axis_kind::preceding ||
           axis == axis_kind::preceding_sibling;
}

bool node_test::is_named_instruction(const node_ref& ref) const {
    if (kind_of(ref) != node_kind::processing_instruction) return false;
    return test_form == form::instruction || instruction_target(ref.node) == name;
}

void walk_axis(const node_ref& context, axis_kind axis, const node_test& test, std::vector<node_ref>& out,
               std::size_t limit) {
    axis_sink sink{test, out, limit};
    if (context.attribute)
        walk_from_attribute(context, axis, sink);
    else
        walk_from_node(context.node, axis, sink);
}

}  // namespace xpath
