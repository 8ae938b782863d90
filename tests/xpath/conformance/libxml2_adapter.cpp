// libxml2 behind the conformance test's answer form. Keys come from a walk
// over its tree, the document node being the root node. A failed compile and
// a failed evaluation are both an error answer.
#include "libxml2_adapter.hpp"

#include <cstdlib>
#include <map>

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xpath.h>

namespace conformance {
namespace {

void ignore_generic_error(void*, const char*, ...) {}
void ignore_structured_error(void*, xmlErrorPtr) {}

// Once per process: quiet error handlers, and the parser's global state
// freed when the process ends.
void prepare_libxml2() {
    static const bool prepared = [] {
        xmlInitParser();
        xmlSetGenericErrorFunc(nullptr, ignore_generic_error);
        xmlSetStructuredErrorFunc(nullptr, ignore_structured_error);
        std::atexit(xmlCleanupParser);
        return true;
    }();
    (void)prepared;
}

std::string as_text(const xmlChar* text) { return text ? reinterpret_cast<const char*>(text) : ""; }

std::string node_text(const xmlNode* node) {
    xmlChar* content = xmlNodeGetContent(node);
    std::string text = as_text(content);
    xmlFree(content);
    return text;
}

// Names as written: libxml2 keeps a prefix apart from the local name.
std::string qualified_name(const xmlChar* local_name, const xmlNs* ns) {
    std::string name = as_text(local_name);
    if (ns && ns->prefix) return as_text(ns->prefix) + ":" + name;
    return name;
}

std::string qualified_name(const xmlNode* node) { return qualified_name(node->name, node->ns); }
std::string qualified_name(const xmlAttr* attribute) { return qualified_name(attribute->name, attribute->ns); }

// A node-set names an attribute by a node pointer to its attribute record.
const xmlAttr* as_attribute(const xmlNode* node) { return reinterpret_cast<const xmlAttr*>(node); }
const xmlNode* as_node(const xmlAttr* attribute) { return reinterpret_cast<const xmlNode*>(attribute); }

// The keys of one tree, and its outline, made by the same walk: the outline
// test then checks the very keys that results are reported with.
struct tree_keys {
    std::map<const void*, std::string> nodes;  // attribute records too
    std::vector<std::string> outline;
};

void add_outline(const xmlNode* node, const std::string& key, tree_keys& keys) {
    if (node->type == XML_ELEMENT_NODE) keys.outline.push_back(outline_entry(key, "element", qualified_name(node)));
    if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE)
        keys.outline.push_back(outline_entry(key, "text", node_text(node)));
    if (node->type == XML_COMMENT_NODE) keys.outline.push_back(outline_entry(key, "comment", node_text(node)));
}

// Attributes by their name as written, prefix included, as TinyXML names them.
void collect_keys(const xmlNode* node, const std::string& key, tree_keys& keys) {
    keys.nodes[node] = key;
    add_outline(node, key, keys);
    if (node->type == XML_ELEMENT_NODE)
        for (const xmlAttr* a = node->properties; a; a = a->next) {
            std::string name = qualified_name(a);
            keys.nodes[a] = attribute_key(key, name);
            keys.outline.push_back(outline_entry(keys.nodes[a], "attribute", name + "=" + node_text(as_node(a))));
        }
    std::size_t index = 0;
    for (const xmlNode* child = node->children; child; child = child->next)
        collect_keys(child, child_key(key, index++), keys);
}

std::string node_label(const xmlNode* node) {
    switch (node->type) {
        case XML_ELEMENT_NODE: return element_label(qualified_name(node));
        case XML_ATTRIBUTE_NODE: return attribute_label(qualified_name(as_attribute(node)), node_text(node));
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE: return text_label(node_text(node));
        case XML_COMMENT_NODE: return comment_label(node_text(node));
        case XML_DOCUMENT_NODE: return "(document)";
        default: return "other";
    }
}

// A namespace node in a node-set is no tree node: it has a key of its own.
void add_node(const xmlNode* node, const tree_keys& keys, engine_answer& answer) {
    if (node->type == XML_NAMESPACE_DECL) {
        const xmlNs* ns = reinterpret_cast<const xmlNs*>(node);
        answer.node_keys.push_back("namespace:" + as_text(ns->prefix));
        answer.node_labels.push_back("xmlns:" + as_text(ns->prefix));
        return;
    }
    auto found = keys.nodes.find(node);
    answer.node_keys.push_back(found != keys.nodes.end() ? found->second : "?unknown-node");
    answer.node_labels.push_back(node_label(node));
}

engine_answer convert(const xmlXPathObject* result, const tree_keys& keys) {
    engine_answer answer;
    switch (result->type) {
        case XPATH_BOOLEAN:
            answer.kind = answer_kind::boolean;
            answer.truth = result->boolval != 0;
            break;
        case XPATH_NUMBER:
            answer.kind = answer_kind::number;
            answer.number = result->floatval;
            break;
        case XPATH_STRING:
            answer.kind = answer_kind::string;
            answer.text = as_text(result->stringval);
            break;
        case XPATH_NODESET:
            answer.kind = answer_kind::nodes;
            if (const xmlNodeSet* set = result->nodesetval)
                for (int i = 0; i < set->nodeNr; ++i) add_node(set->nodeTab[i], keys, answer);
            break;
        default: answer.text = "libxml2 gave a result of type " + std::to_string(result->type); break;
    }
    return answer;
}

xmlDocPtr parse(const std::string& document) {
    prepare_libxml2();
    return xmlReadMemory(document.data(), static_cast<int>(document.size()), "case.xml", "UTF-8",
                         XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
}

engine_answer evaluate_in(xmlDocPtr document, const std::string& expression) {
    tree_keys keys;
    collect_keys(reinterpret_cast<const xmlNode*>(document), root_key(), keys);
    xmlXPathContextPtr context = xmlXPathNewContext(document);
    context->node = xmlDocGetRootElement(document);
    context->contextSize = 1;  // the root element alone, as last() and position() see it
    context->proximityPosition = 1;
    engine_answer answer;
    answer.text = "libxml2 did not compile the expression";
    if (xmlXPathCompExprPtr compiled =
            xmlXPathCtxtCompile(context, reinterpret_cast<const xmlChar*>(expression.c_str()))) {
        answer.text = "libxml2 did not evaluate the expression";
        if (xmlXPathObjectPtr result = xmlXPathCompiledEval(compiled, context)) {
            answer = convert(result, keys);
            xmlXPathFreeObject(result);
        }
        xmlXPathFreeCompExpr(compiled);
    }
    xmlXPathFreeContext(context);
    return answer;
}

}  // namespace

std::vector<std::string> libxml2_outline(const std::string& document) {
    xmlDocPtr tree = parse(document);
    if (!tree) return {};
    tree_keys keys;
    collect_keys(reinterpret_cast<const xmlNode*>(tree), root_key(), keys);
    xmlFreeDoc(tree);
    return keys.outline;
}

engine_answer libxml2_answer(const std::string& document, const std::string& expression) {
    xmlDocPtr tree = parse(document);
    if (!tree || !xmlDocGetRootElement(tree)) {
        if (tree) xmlFreeDoc(tree);
        engine_answer refused;
        refused.document_refused = true;
        refused.text = "libxml2 did not parse the document";
        return refused;
    }
    engine_answer answer = evaluate_in(tree, expression);
    xmlFreeDoc(tree);
    return answer;
}

}  // namespace conformance
