// pugixml behind the conformance test's answer form. The document keeps its
// comments; a node-set is sorted into document order, which is the order
// the other engines are compared in. A compile error is an exception.
#include "pugixml_adapter.hpp"

#include <pugixml.hpp>

namespace conformance {
namespace {

std::string key_of(const pugi::xml_node& node) {
    pugi::xml_node parent = node.parent();
    if (!parent) return root_key();
    std::size_t index = 0;
    for (pugi::xml_node sibling = node.previous_sibling(); sibling; sibling = sibling.previous_sibling()) ++index;
    return child_key(key_of(parent), index);
}

std::string node_label(const pugi::xml_node& node) {
    switch (node.type()) {
        case pugi::node_element: return element_label(node.name());
        case pugi::node_pcdata:
        case pugi::node_cdata: return text_label(node.value());
        case pugi::node_comment: return comment_label(node.value());
        case pugi::node_document: return "(document)";
        default: return "other";
    }
}

void add_node(const pugi::xpath_node& entry, engine_answer& answer) {
    if (pugi::xml_attribute a = entry.attribute()) {
        answer.node_keys.push_back(attribute_key(key_of(entry.parent()), a.name()));
        answer.node_labels.push_back(attribute_label(a.name(), a.value()));
        return;
    }
    answer.node_keys.push_back(key_of(entry.node()));
    answer.node_labels.push_back(node_label(entry.node()));
}

engine_answer evaluate_at(const pugi::xpath_query& query, const pugi::xml_node& context) {
    engine_answer answer;
    switch (query.return_type()) {
        case pugi::xpath_type_boolean:
            answer.kind = answer_kind::boolean;
            answer.truth = query.evaluate_boolean(context);
            break;
        case pugi::xpath_type_number:
            answer.kind = answer_kind::number;
            answer.number = query.evaluate_number(context);
            break;
        case pugi::xpath_type_string:
            answer.kind = answer_kind::string;
            answer.text = query.evaluate_string(context);
            break;
        case pugi::xpath_type_node_set: {
            answer.kind = answer_kind::nodes;
            pugi::xpath_node_set set = query.evaluate_node_set(context);
            set.sort();
            for (const pugi::xpath_node& entry : set) add_node(entry, answer);
            break;
        }
        default: answer.text = "pugixml gave no type"; break;
    }
    return answer;
}

}  // namespace

bool pugixml_available() { return true; }

engine_answer pugixml_answer(const std::string& document, const std::string& expression) {
    pugi::xml_document tree;
    pugi::xml_parse_result parsed = tree.load_string(document.c_str(), pugi::parse_default | pugi::parse_comments);
    if (!parsed || !tree.document_element()) {
        engine_answer refused;
        refused.document_refused = true;
        refused.text = std::string("pugixml did not parse the document: ") + parsed.description();
        return refused;
    }
    try {
        pugi::xpath_query query(expression.c_str());
        return evaluate_at(query, tree.document_element());
    } catch (const pugi::xpath_exception& failure) {
        engine_answer answer;
        answer.text = std::string("pugixml: ") + failure.what();
        return answer;
    }
}

}  // namespace conformance
