// The project's engine behind the conformance test's answer form. Keys come
// from a walk over the parsed tree before the evaluation; the engine hangs
// the base node under a temporary element while it runs and restores the
// tree afterwards, so a result node without a parent is that temporary
// element, which stands for the root node.
#include "project_adapter.hpp"

#include <map>

#include <tinyxml.h>

#include "xpath/xpath.hpp"

namespace conformance {
namespace {

// The keys of one tree, and its outline, made by the same walk: the outline
// test then checks the very keys that results are reported with.
struct tree_keys {
    std::map<const TiXmlNode*, std::string> nodes;
    std::map<const TiXmlAttribute*, std::string> attributes;
    std::vector<std::string> outline;
};

void add_outline(const TiXmlNode* node, const std::string& key, tree_keys& keys) {
    if (node->ToElement()) keys.outline.push_back(outline_entry(key, "element", node->Value()));
    if (node->ToText()) keys.outline.push_back(outline_entry(key, "text", node->Value()));
    if (node->ToComment()) keys.outline.push_back(outline_entry(key, "comment", node->Value()));
}

void collect_keys(const TiXmlNode* node, const std::string& key, tree_keys& keys) {
    keys.nodes[node] = key;
    add_outline(node, key, keys);
    if (const TiXmlElement* element = node->ToElement())
        for (const TiXmlAttribute* a = element->FirstAttribute(); a; a = a->Next()) {
            keys.attributes[a] = attribute_key(key, a->Name());
            keys.outline.push_back(
                outline_entry(keys.attributes[a], "attribute", std::string(a->Name()) + "=" + a->Value()));
        }
    std::size_t index = 0;
    for (const TiXmlNode* child = node->FirstChild(); child; child = child->NextSibling())
        collect_keys(child, child_key(key, index++), keys);
}

std::string node_label(const TiXmlNode* node) {
    if (node->ToElement()) return element_label(node->Value());
    if (node->ToText()) return text_label(node->Value());
    if (node->ToComment()) return comment_label(node->Value());
    return "other";
}

void add_node(const xpath::result_node& entry, const tree_keys& keys, engine_answer& answer) {
    if (const TiXmlAttribute* a = entry.attribute) {
        auto found = keys.attributes.find(a);
        answer.node_keys.push_back(found != keys.attributes.end() ? found->second : "?unknown-attribute");
        answer.node_labels.push_back(attribute_label(a->Name(), a->Value()));
        return;
    }
    auto found = keys.nodes.find(entry.node);
    if (found != keys.nodes.end()) {
        answer.node_keys.push_back(found->second);
        answer.node_labels.push_back(node_label(entry.node));
    } else if (!entry.node->Parent()) {
        answer.node_keys.push_back(root_key());
        answer.node_labels.push_back("(temporary root)");
    } else {
        answer.node_keys.push_back("?unknown-node");
        answer.node_labels.push_back(node_label(entry.node));
    }
}

std::string error_text(const xpath::evaluation_result& result) {
    std::string text = xpath::status_name(result.status);
    if (result.status == xpath::eval_status::status_syntax) return text + " (" + result.error_text + ")";
    if (result.status == xpath::eval_status::status_execution) {
        const char* name = xpath::execution_code_name(result.error_code);
        return text + " (" + (name ? name : std::to_string(result.error_code)) + ")";
    }
    return text;
}

engine_answer convert(const xpath::evaluation_result& result, const tree_keys& keys) {
    engine_answer answer;
    if (result.status != xpath::eval_status::status_ok) {
        answer.text = error_text(result);
        return answer;
    }
    switch (result.kind) {
        case xpath::value_kind::kind_bool:
            answer.kind = answer_kind::boolean;
            answer.truth = result.truth;
            break;
        case xpath::value_kind::kind_string:
            answer.kind = answer_kind::string;
            answer.text = result.text;
            break;
        case xpath::value_kind::kind_int:
            answer.kind = answer_kind::number;
            answer.number = result.integer;
            answer.detail = "int";
            break;
        case xpath::value_kind::kind_double:
            answer.kind = answer_kind::number;
            answer.number = result.real;
            answer.detail = "double";
            break;
        case xpath::value_kind::kind_nodes:
            answer.kind = answer_kind::nodes;
            for (const xpath::result_node& entry : result.nodes) add_node(entry, keys, answer);
            break;
        case xpath::value_kind::kind_none: answer.text = "ok status without a value"; break;
    }
    return answer;
}

}  // namespace

std::vector<std::string> project_outline(const std::string& document) {
    TiXmlDocument tree;
    tree.Parse(document.c_str(), nullptr, TIXML_ENCODING_UTF8);
    if (tree.Error()) return {};
    tree_keys keys;
    collect_keys(&tree, root_key(), keys);
    return keys.outline;
}

engine_answer project_answer(const std::string& document, const std::string& expression) {
    TiXmlDocument tree;
    tree.Parse(document.c_str(), nullptr, TIXML_ENCODING_UTF8);
    if (tree.Error() || !tree.RootElement()) {
        engine_answer refused;
        refused.document_refused = true;
        refused.text = std::string("TinyXML did not parse the document: ") + tree.ErrorDesc();
        return refused;
    }
    tree_keys keys;
    collect_keys(&tree, root_key(), keys);
    xpath::evaluation_result result = xpath::evaluate(tree.RootElement(), expression.c_str());
    return convert(result, keys);
}

}  // namespace conformance
