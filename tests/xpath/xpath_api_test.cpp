// The engine's public entry evaluate, as a user of xpath/xpath.hpp sees it:
// status, error code and text, and a value that stays readable after the
// call, also when it names the evaluator's temporary root.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include <tinyxml.h>

#include "xpath/evaluation/evaluation_helpers.hpp"
#include "xpath/xpath.hpp"

namespace {

using xpath::eval_status;

// The payload that the result's kind names, as text.
std::string payload(const xpath::evaluation_result& result) {
    switch (result.kind) {
        case xpath::value_kind::kind_bool: return result.truth ? "bool true" : "bool false";
        case xpath::value_kind::kind_string: return "string " + result.text;
        case xpath::value_kind::kind_int: return "int " + std::to_string(result.integer);
        case xpath::value_kind::kind_double:
            return "double " + (std::isnan(result.real) ? std::string("NaN") : std::to_string(result.real));
        case xpath::value_kind::kind_none: return "none";
        case xpath::value_kind::kind_nodes: break;
    }
    std::string text = "nodes";
    for (const xpath::result_node& entry : result.nodes) {
        if (entry.attribute)
            text += std::string(" ") + entry.element->Value() + "@" + entry.attribute->Name();
        else
            text += entry.node->ToDocument() ? std::string(" (root)") : std::string(" ") + entry.node->Value();
    }
    return text;
}

}  // namespace

TEST(xpath_api, evaluate_reports_status_error_and_value) {
    struct row {
        const char* expression;
        eval_status status;
        std::int32_t error_code;
        const char* error_text;
        const char* payload;
        std::int32_t as_int;
        const char* as_string;
    };
    const row rows[] = {
        {"Language/text() + 1", eval_status::status_ok, 0, "", "int 8", 8, "8"},
        {"'x'", eval_status::status_ok, 0, "", "string x", 0, "x"},
        {"@version", eval_status::status_ok, 0, "", "nodes Settings@version", 3, "3"},
        {"/", eval_status::status_ok, 0, "", "nodes (root)", 7, "7"},  // the temporary root: all text
        {"/Settings/parent::*", eval_status::status_ok, 0, "", "nodes", 0, ""},  // the root node is no element
        {"/Settings", eval_status::status_ok, 0, "", "nodes Settings", 7, "7"},
        {"1 div 0", eval_status::status_ok, 0, "", "double inf", 2147483647, "Infinity"},
        {"0 div 0", eval_status::status_ok, 0, "", "double NaN", 0, "NaN"},
        {"1 +", eval_status::status_syntax, 0, "missing operand: expected an operand, found the end of the expression",
         "none", 0, ""},
        {"nosuch()", eval_status::status_execution, 11, "", "none", 0, ""},  // the call failed
    };
    auto document = test_support::parse_xml("<Settings version='3'><Language>7</Language></Settings>");
    for (const row& r : rows) {
        SCOPED_TRACE(r.expression);
        xpath::evaluation_result result = xpath::evaluate(document->RootElement(), r.expression);
        EXPECT_EQ(result.status, r.status);
        EXPECT_EQ(result.error_code, r.error_code);
        EXPECT_EQ(result.error_text, r.error_text);
        EXPECT_EQ(payload(result), r.payload);  // read after the call: the sanitizer build checks the nodes live
        EXPECT_EQ(result.as_int, r.as_int);
        EXPECT_EQ(result.as_string, r.as_string);
    }
    EXPECT_EQ(xpath::evaluate(nullptr, "1").error_code, 1);
    xpath::evaluation_result root = xpath::evaluate(document.get(), "/");  // a document is the root node itself
    ASSERT_EQ(root.nodes.size(), 1u);
    EXPECT_EQ(root.nodes[0].node, document.get());
}

TEST(xpath_api, the_trace_holds_the_lexemes_and_the_actions) {
    auto document = test_support::parse_xml("<a/>");
    xpath::evaluation_trace trace;
    xpath::evaluate(document->RootElement(), "1", &trace);
    ASSERT_EQ(trace.lexemes.size(), 1u);
    EXPECT_EQ(trace.lexemes[0].text, "1");
    ASSERT_FALSE(trace.actions.empty());
    EXPECT_EQ(trace.actions.back().rule, 14);  // Expr, recorded last
    EXPECT_EQ(trace.actions.front().literal, "1");
}
