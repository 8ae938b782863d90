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

// Every kind of binding, read by "$name"; an unbound name is code 12, a node
// outside the tree code 55; a later binding of a name replaces the earlier.
TEST(xpath_api, variables_bind_values_of_every_kind) {
    auto document = test_support::parse_xml("<users><user name='Ann' id='7'/><user name='Bo' id='8'/></users>");
    TiXmlElement* ann = document->RootElement()->FirstChildElement();
    TiXmlElement* bo = ann->NextSiblingElement();
    auto other = test_support::parse_xml("<x/>");
    xpath::variable_bindings variables;
    variables.bind_string("who", "Bo");
    variables.bind_number("n", 8);
    variables.bind_boolean("yes", true);
    variables.bind_string("p:v", "prefixed");
    // Out of order and twice: the expression sees them in document order, once.
    variables.bind_nodes("users", {{bo}, {ann}, {bo}});
    variables.bind_nodes("ids", {{nullptr, bo->FirstAttribute()->Next(), bo}});
    variables.bind_nodes("foreign", {{other->RootElement()}});
    variables.bind_nodes("wrong_owner", {{nullptr, bo->FirstAttribute(), ann}});
    variables.bind_string("twice", "first");
    variables.bind_string("twice", "second");
    struct row {
        const char* expression;
        eval_status status;
        std::int32_t error_code;
        const char* as_string;
    };
    const row rows[] = {
        {"$who", eval_status::status_ok, 0, "Bo"},
        {"user[@name = $who]/@id", eval_status::status_ok, 0, "8"},
        {"$n + 1", eval_status::status_ok, 0, "9"},
        {"user[@id = $n]/@name", eval_status::status_ok, 0, "Bo"},
        {"not($yes)", eval_status::status_ok, 0, "false"},
        {"$p:v", eval_status::status_ok, 0, "prefixed"},
        {"count($users)", eval_status::status_ok, 0, "2"},
        {"$users/@name", eval_status::status_ok, 0, "Ann"},  // the first in document order
        {"$ids", eval_status::status_ok, 0, "8"},
        {"$twice", eval_status::status_ok, 0, "second"},
        {"$none", eval_status::status_execution, 12, ""},
        {"1 or $none", eval_status::status_ok, 0, "true"},  // never read
        {"$foreign", eval_status::status_execution, 55, ""},
        {"$wrong_owner", eval_status::status_execution, 55, ""},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.expression);
        xpath::evaluation_result result = xpath::evaluate(document->RootElement(), r.expression, nullptr, &variables);
        EXPECT_EQ(result.status, r.status);
        EXPECT_EQ(result.error_code, r.error_code);
        EXPECT_EQ(result.as_string, r.as_string);
    }
    // Below a base node, only its own subtree is the tree.
    EXPECT_EQ(xpath::evaluate(ann, "count($users)", nullptr, &variables).error_code, 11);
    std::int32_t out = 0;
    EXPECT_TRUE(xpath::evaluate_int(document.get(), "$n", &out, &variables));
    EXPECT_EQ(out, 8);
}

// A name typed by a user, quotes and all, is found as it stands; written
// into the expression's text it would break it, or bend it into another.
TEST(xpath_api, a_bound_value_cannot_break_or_bend_the_expression) {
    auto document = test_support::parse_xml("<users><user name=\"O'Brien &quot;Bob&quot;\" id='7'/></users>");
    const std::string typed[] = {"O'Brien \"Bob\"", "x' or '1' = '1", "\"x' or @id = '7"};
    const char* const found[] = {"7", "", ""};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(typed[i]);
        xpath::variable_bindings variables;
        variables.bind_string("name", typed[i]);
        xpath::evaluation_result bound =
            xpath::evaluate(document->RootElement(), "user[@name = $name]/@id", nullptr, &variables);
        EXPECT_EQ(bound.status, eval_status::status_ok);
        EXPECT_EQ(bound.as_string, found[i]);
        std::string written = "user[@name = '" + typed[i] + "']/@id";
        xpath::evaluation_result spliced = xpath::evaluate(document->RootElement(), written.c_str());
        EXPECT_TRUE(spliced.status != eval_status::status_ok || spliced.as_string != found[i]);
    }
}
