// Node kinds and names. TinyXML reads "<?target data?>" as an unknown node
// holding "?target data?" (a declaration "<?xml ...?>" apart), so a
// processing instruction is recognised by its leading '?'.
#include "node_ref.hpp"

#include <tinyxml.h>

#include "tree_text.hpp"

namespace xpath {
namespace {

bool is_instruction(const TiXmlNode* node) {
    std::string_view value = value_view(node);
    return !value.empty() && value.front() == '?';
}

bool is_xml_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The text between the leading '?' and the closing '?'.
std::string_view instruction_body(const TiXmlNode* node) {
    std::string_view body = value_view(node).substr(1);
    if (!body.empty() && body.back() == '?') body.remove_suffix(1);
    return body;
}

std::size_t target_length(std::string_view body) {
    std::size_t length = 0;
    while (length < body.size() && !is_xml_space(body[length])) ++length;
    return length;
}

}  // namespace

node_kind kind_of(const TiXmlNode* node) {
    switch (node->Type()) {
        case TiXmlNode::TINYXML_DOCUMENT: return node_kind::root;
        case TiXmlNode::TINYXML_ELEMENT: return node_kind::element;
        case TiXmlNode::TINYXML_TEXT: return node_kind::text;
        case TiXmlNode::TINYXML_COMMENT: return node_kind::comment;
        case TiXmlNode::TINYXML_UNKNOWN: return is_instruction(node) ? node_kind::processing_instruction : node_kind::hidden;
        default: return node_kind::hidden;
    }
}

node_kind kind_of(const node_ref& ref) {
    return ref.attribute ? node_kind::attribute : kind_of(ref.node);
}

std::string_view instruction_target(const TiXmlNode* node) {
    std::string_view body = instruction_body(node);
    return body.substr(0, target_length(body));
}

std::string_view instruction_data(const TiXmlNode* node) {
    std::string_view body = instruction_body(node);
    std::size_t start = target_length(body);
    while (start < body.size() && is_xml_space(body[start])) ++start;
    return body.substr(start);
}

std::string name_of(const node_ref& ref) {
    switch (kind_of(ref)) {
        case node_kind::element: return value_of(ref.node);
        case node_kind::attribute: return name_of(ref.attribute);
        case node_kind::processing_instruction: return std::string(instruction_target(ref.node));
        default: return std::string();
    }
}

}  // namespace xpath
