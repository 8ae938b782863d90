// The path evaluator as the launcher uses it: statuses, the integer entry,
// the tree left exactly as it was after every outcome, and the document-order
// numbers it leaves behind.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <tinyxml.h>

#include "evaluation_helpers.hpp"
#include "evaluation/node_collection.hpp"
#include "evaluation/path_evaluator.hpp"

using xpath::eval_status;

namespace {

const char* const settings_xml = "<Settings version='3'><Language>7</Language><Other/></Settings>";

// The structure of a tree as text: names, children and the links both ways.
std::string shape(TiXmlNode* node) {
    std::string text = std::string(node->Value()) + "(";
    TiXmlNode* previous = nullptr;
    for (TiXmlNode* child = node->FirstChild(); child; child = child->NextSibling()) {
        if (child->Parent() != node || child->PreviousSibling() != previous) text += "!broken link!";
        text += shape(child);
        previous = child;
    }
    if (node->LastChild() != previous) text += "!broken last child!";
    return text + ")";
}

}  // namespace

TEST(path_evaluator, statuses_and_the_integer_entry) {
    struct row {
        const char* xml;
        const char* expression;
        eval_status status;
        std::int32_t value;
    };
    const row rows[] = {
        {settings_xml, "/Settings/Language/text()", eval_status::status_ok, 7},
        {settings_xml, "/Settings/Missing/text()", eval_status::status_ok, 0},  // an empty selection
        {"<Settings><Language> 23 </Language></Settings>", "/Settings/Language/text()", eval_status::status_ok, 23},
        {"<Settings><Language>x</Language></Settings>", "/Settings/Language/text()", eval_status::status_ok, 0},
        // The integer conversion keeps the atoi rule and saturation, whatever
        // XPath's number of the same value is.
        {"<Settings><Language>26x</Language></Settings>", "/Settings/Language/text()", eval_status::status_ok, 26},
        {"<Settings><Language>26x</Language></Settings>", "/Settings/Language", eval_status::status_ok, 26},
        {settings_xml, "'26x'", eval_status::status_ok, 26},
        {settings_xml, "'-0.9'", eval_status::status_ok, 0},
        {settings_xml, "'99999999999'", eval_status::status_ok, 2147483647},
        {settings_xml, "-7.9", eval_status::status_ok, -7},
        {settings_xml, "2147483647 + 1", eval_status::status_ok, 2147483647},
        {settings_xml, "1 div 0", eval_status::status_ok, 2147483647},
        {settings_xml, "-1 div 0", eval_status::status_ok, -2147483647 - 1},
        {settings_xml, "0 div 0", eval_status::status_ok, 0},
        {settings_xml, "1 + 2 * 3", eval_status::status_ok, 7},
        {settings_xml, "/", eval_status::status_ok, 7},  // the root node: all the text
        {settings_xml, "1 2", eval_status::status_syntax, 0},
        {settings_xml, "", eval_status::status_syntax, 0},
        {settings_xml, "Settings/", eval_status::status_syntax, 0},
        {settings_xml, "/Settings/", eval_status::status_syntax, 0},
        {settings_xml, "((((((((((1))))))))))", eval_status::status_ok, 1},
        {settings_xml, "((((((((((((((((1))))))))))))))))", eval_status::status_ok, 1},          // 16 nested
        {settings_xml, "(((((((((((((((((1)))))))))))))))))", eval_status::status_overflow, 0},  // 17 nested
        {settings_xml, "$v", eval_status::status_execution, 0},
        {settings_xml, "/Settings/namespace::x", eval_status::status_ok, 0},  // no namespace nodes
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.expression);
        auto document = test_support::parse_xml(r.xml);
        xpath::path_evaluator evaluator(document->RootElement(), r.expression);
        EXPECT_EQ(evaluator.evaluate_as_int(), r.value);
        EXPECT_EQ(evaluator.status(), r.status);
        std::int32_t out = -12345;
        EXPECT_EQ(xpath::evaluate_int(document->RootElement(), r.expression, &out),
                  r.status == eval_status::status_ok);
        EXPECT_EQ(out, r.value);
    }
}

TEST(path_evaluator, without_a_base_node) {
    std::int32_t out = -1;
    EXPECT_FALSE(xpath::evaluate_int(nullptr, "/Settings/Language/text()", &out));
    EXPECT_EQ(out, 0);
    xpath::path_evaluator evaluator(nullptr, "1");
    evaluator.evaluate();
    EXPECT_EQ(evaluator.status(), eval_status::status_execution);
    EXPECT_EQ(evaluator.caught_code(), 1);
}

// A document is the root node itself: no temporary root is made, and what
// lies beside the root element is reached.
TEST(path_evaluator, a_document_is_the_root_node) {
    auto document = test_support::parse_xml("<?xml version='1.0'?><!--head--><Settings><Language>7</Language></Settings>");
    std::string before = shape(document.get());
    struct row {
        const char* expression;
        const char* outcome;
    };
    const row rows[] = {
        {"/Settings/Language/text()", "ok nodes: text 7"},
        {"Settings/Language", "ok nodes: element Language"},  // relative to the document
        {"node()", "ok nodes: comment head, element Settings"},  // the declaration is no node
        {"/comment()", "ok nodes: comment head"},
        {".", "ok nodes: root"},
        {"/Settings/..", "ok nodes: root"},
        {"count(/Settings/ancestor::node())", "ok int: 1"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.expression);
        EXPECT_EQ(test_support::describe_at(document.get(), r.expression), r.outcome);
    }
    std::int32_t out = -1;
    EXPECT_TRUE(xpath::evaluate_int(document.get(), "/Settings/Language/text()", &out));
    EXPECT_EQ(out, 7);
    EXPECT_EQ(shape(document.get()), before);
    EXPECT_EQ(xpath::document_order_of(document.get()), 1);
    EXPECT_EQ(xpath::document_order_of(document->RootElement()), 4);  // after the declaration and the comment
}

TEST(path_evaluator, the_tree_is_restored_after_every_outcome) {
    const char* expressions[] = {
        "/b/x", "count(//*)", "/", "b[", "$v", "((((((((((1))))))))))", "/b/parent::*", "..", "/b/following::*",
    };
    for (const char* expression : expressions) {
        SCOPED_TRACE(expression);
        auto document = test_support::parse_xml("<a><first/><b><x>1</x><!--c--></b><last/></a>");
        TiXmlElement* base = document->RootElement()->FirstChildElement("b");
        std::string before = shape(document.get());
        {
            xpath::path_evaluator evaluator(base, expression);
            evaluator.evaluate();
        }
        EXPECT_EQ(shape(document.get()), before);
        EXPECT_EQ(base->Parent(), document->RootElement());
        EXPECT_STREQ(base->PreviousSibling()->Value(), "first");
        EXPECT_STREQ(base->NextSibling()->Value(), "last");
    }
}

TEST(path_evaluator, leaves_pre_order_numbers_from_the_base_node) {
    auto document = test_support::parse_xml("<a><b><c>t</c><d/></b><!--e--></a>");
    TiXmlElement* a = document->RootElement();
    xpath::path_evaluator evaluator(a, "count(//*)");
    evaluator.evaluate();
    TiXmlNode* b = a->FirstChild();
    TiXmlNode* c = b->FirstChild();
    struct row {
        TiXmlNode* node;
        std::int32_t number;
    };
    const row rows[] = {{a, 2}, {b, 3}, {c, 4}, {c->FirstChild(), 5}, {b->LastChild(), 6}, {a->LastChild(), 7}};
    for (const row& r : rows) {
        SCOPED_TRACE(r.node->Value());
        EXPECT_EQ(xpath::document_order_of(r.node), r.number);
    }
}

TEST(path_evaluator, a_result_holding_the_temporary_root_stays_readable) {
    auto document = test_support::parse_xml(settings_xml);
    xpath::path_evaluator evaluator(document->RootElement(), "/Settings/..");
    xpath::path_evaluator::conversions converted;
    xpath::path_value result = evaluator.evaluate(&converted);
    ASSERT_EQ(evaluator.status(), eval_status::status_ok);
    ASSERT_EQ(result.nodes.count(), 1u);
    // The sanitizer build checks that the temporary root is still alive; it
    // is a document of its own, never the caller's.
    ASSERT_NE(result.nodes.node_at(0)->ToDocument(), nullptr);
    EXPECT_NE(result.nodes.node_at(0), document.get());
    EXPECT_EQ(result.nodes.node_at(0)->FirstChild(), nullptr);
    EXPECT_EQ(converted.as_string, "7");  // converted while the tree still hung below it
    EXPECT_EQ(converted.as_int, 7);
    EXPECT_EQ(document->RootElement()->Parent(), document.get());
}

TEST(path_evaluator, diagnosis_keeps_the_caught_error) {
    auto document = test_support::parse_xml(settings_xml);
    struct row {
        const char* expression;
        std::int32_t code;
        const char* text;
    };
    const row rows[] = {{"$v", 12, ""}, {"ns:*", -2, ""}, {"=", 0, "missing operand: expected an operand, found '=' at column 1"}, {"", 0, "main level"}, {"1", 0, ""}};
    for (const row& r : rows) {
        SCOPED_TRACE(r.expression);
        xpath::path_evaluator evaluator(document->RootElement(), r.expression);
        evaluator.evaluate();
        EXPECT_EQ(evaluator.caught_code(), r.code);
        EXPECT_EQ(evaluator.caught_text(), r.text);
    }
}
