// String values. An element's text is gathered by a walk along the tree's
// own links, not by recursion, so no depth of the document costs stack.
#include "string_value.hpp"

#include <tinyxml.h>

#include "node_ref.hpp"
#include "tree_text.hpp"

namespace xpath {
namespace {

bool is_text(const TiXmlNode* node) {
    return node->Type() == TiXmlNode::TINYXML_TEXT;
}

void append_descendant_text(const TiXmlNode* top, std::string& out) {
    for (const TiXmlNode* node = top->FirstChild(); node;) {
        if (is_text(node)) out.append(value_view(node).data(), value_view(node).size());
        if (const TiXmlNode* child = node->FirstChild()) {
            node = child;
            continue;
        }
        while (node != top && !node->NextSibling()) node = node->Parent();
        node = node == top ? nullptr : node->NextSibling();
    }
}

}  // namespace

std::string_view string_value_view(const TiXmlNode* node, std::string& joined) {
    node_kind kind = kind_of(node);
    if (kind == node_kind::processing_instruction) return instruction_data(node);
    if (kind != node_kind::element && kind != node_kind::root) return value_view(node);
    const TiXmlNode* only = node->FirstChild();
    if (!only) return std::string_view();
    if (only == node->LastChild() && is_text(only)) return value_view(only);
    joined.clear();
    append_descendant_text(node, joined);
    return joined;
}

std::string_view string_value_view(const TiXmlAttribute* attribute) {
#ifdef TIXML_USE_STL
    const std::string& value = attribute->ValueStr();
    return std::string_view(value.data(), value.size());
#else
    // Without the STL mode TinyXML hands out the value only as a
    // zero-terminated text, so there it ends at a NUL character reference.
    return std::string_view(attribute->Value());
#endif
}

std::string_view string_value_view(const node_ref& ref, std::string& joined) {
    return ref.attribute ? string_value_view(ref.attribute) : string_value_view(ref.node, joined);
}

std::string string_value(const node_ref& ref) {
    return ref.attribute ? string_value(ref.attribute) : string_value(ref.node);
}

std::string string_value(const TiXmlNode* node) {
    std::string joined;
    std::string_view view = string_value_view(node, joined);
    if (view.data() == joined.data()) return joined;
    return std::string(view);
}

std::string string_value(const TiXmlAttribute* attribute) {
    return std::string(string_value_view(attribute));
}

}  // namespace xpath
