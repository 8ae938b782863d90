// A few hundred generated expressions, well and badly formed: each must end
// in one of the statuses, with the tree exactly as before. The sanitizer build
// turns any leak or invalid access on these paths into a failure.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include <tinyxml.h>

#include "evaluation/path_evaluator.hpp"

namespace {

const char* const pieces[] = {
    "/", "//", "a", "b", "c", "text()", "node()", "comment()", "@id", "@*", "*", ".", "..", "[", "]", "[1]",
    "[last()]", "(", ")", "'x'", "\"7\"", "1", "2.5", "-", "+", " * ", " div ", " mod ", " = ", " != ", " < ",
    " >= ", " or ", " and ", " | ", ",", "count(", "sum(", "concat(", "substring(", "position()", "name(",
    "child::", "descendant::", "ancestor::", "following::", "preceding-sibling::", "parent::", "self::",
    "namespace::", "$v", "::", "processing-instruction()", "p:", "#",
};

std::string random_expression(std::mt19937& generator) {
    std::uniform_int_distribution<std::size_t> length(0, 12);
    std::uniform_int_distribution<std::size_t> piece(0, sizeof pieces / sizeof pieces[0] - 1);
    std::string expression;
    for (std::size_t n = length(generator); n > 0; --n) expression += pieces[piece(generator)];
    return expression;
}

std::string shape(const TiXmlNode* node) {
    std::string text = std::string(node->Value()) + "(";
    for (const TiXmlNode* child = node->FirstChild(); child; child = child->NextSibling()) {
        if (child->Parent() != node) text += "!";
        text += shape(child);
    }
    return text + ")";
}

}  // namespace

TEST(random_expressions, every_outcome_is_a_status_and_the_tree_survives) {
    TiXmlDocument document;
    document.Parse("<top><x/><a id='1'><b>2</b><c id='3'>4<!--n--></c><b>5.5</b></a><y/></top>");
    TiXmlElement* base = document.RootElement()->FirstChildElement("a");
    const std::string before = shape(&document);
    int statuses[5] = {};
    for (unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 generator(seed);
        for (int i = 0; i < 200; ++i) {
            std::string expression = random_expression(generator);
            SCOPED_TRACE(expression);
            xpath::path_evaluator evaluator(base, expression.c_str());
            xpath::path_value result = evaluator.evaluate();
            int status = static_cast<int>(evaluator.status());
            ASSERT_GE(status, 0);
            ASSERT_LE(status, 4);
            ++statuses[status];
            if (evaluator.status() != xpath::eval_status::status_ok) {
                EXPECT_EQ(result.kind, xpath::value_kind::kind_none);
            }
            result.to_string();  // reads every node a result may hold
            ASSERT_EQ(shape(&document), before);
        }
    }
    // The generator reaches successes and failures alike; most of its
    // expressions are malformed, and few of those are refused late.
    EXPECT_GT(statuses[0], 10);
    EXPECT_GT(statuses[1], 100);
    EXPECT_GT(statuses[3], 0);
}
