// The outcome of an evaluation as text, for table-driven tests.
#include "evaluation_helpers.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "evaluation/number_text.hpp"
#include "evaluation/path_evaluator.hpp"

namespace test_support {
namespace {

std::string describe_entry(const xpath::node_collection& nodes, std::uint32_t index) {
    if (nodes.is_attribute(index)) {
        const TiXmlAttribute* attribute = nodes.attribute_at(index);
        return std::string("attribute ") + attribute->Name() + "=" + attribute->Value();
    }
    const TiXmlNode* node = nodes.node_at(index);
    if (node->ToDocument()) return "root";
    const char* type = node->ToElement() ? "element " : node->ToText() ? "text " : node->ToComment() ? "comment " : "other ";
    return type + std::string(node->Value());
}

std::string describe_nodes(const xpath::node_collection& nodes) {
    if (nodes.count() == 0) return "nodes: empty";
    std::string text = "nodes: ";
    for (std::uint32_t i = 0; i < nodes.count(); ++i) text += (i ? ", " : "") + describe_entry(nodes, i);
    return text;
}

}  // namespace

std::unique_ptr<TiXmlDocument> parse_xml(const char* xml) {
    auto document = std::make_unique<TiXmlDocument>();
    document->Parse(xml);
    if (document->Error()) {
        ADD_FAILURE() << "the XML text does not parse: " << document->ErrorDesc() << "\n" << xml;
        document->Clear();
    }
    return document;
}

std::string describe_value(const xpath::path_value& value) {
    switch (value.kind) {
        case xpath::value_kind::kind_bool: return value.truth ? "bool: true" : "bool: false";
        case xpath::value_kind::kind_string: return "string: " + value.text;
        case xpath::value_kind::kind_int: return "int: " + xpath::format_int(value.integer);
        case xpath::value_kind::kind_double: return "double: " + xpath::format_number(value.real);
        case xpath::value_kind::kind_nodes: return describe_nodes(value.nodes);
        case xpath::value_kind::kind_none: break;
    }
    return "none";
}

std::string describe_at(TiXmlNode* base, const char* expression) {
    xpath::path_evaluator evaluator(base, expression);
    // The result is described while the evaluator lives: it may hold the temporary root.
    xpath::path_value result = evaluator.evaluate();
    switch (evaluator.status()) {
        case xpath::eval_status::status_ok: return "ok " + describe_value(result);
        case xpath::eval_status::status_syntax: return "syntax";
        case xpath::eval_status::status_overflow: return "overflow";
        case xpath::eval_status::status_execution: return "execution " + std::to_string(evaluator.caught_code());
        case xpath::eval_status::status_unbalanced: return "unbalanced";
    }
    return "unknown status";
}

std::string describe(const char* xml, const char* expression) {
    std::unique_ptr<TiXmlDocument> document = parse_xml(xml);
    return describe_at(document->RootElement(), expression);
}

}  // namespace test_support
