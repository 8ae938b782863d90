// Families of location steps: each group of axes from context nodes of every
// kind, node tests, proximity positions, abbreviations, numeric predicates
// and the document order of step results.
#include "expression_family.hpp"
#include "expression_pieces.hpp"

namespace conformance {
namespace {

// Context nodes of every kind, mostly reached through '*' so that they exist.
const char* const contexts[] = {
    ".", ".", "*", "*", "*/*", "*/*/*", "a", "b/*", "@*", "*/@*", "@id", "child::text()", "*/text()",
    "child::comment()", "*/comment()", "child::node()", "*/node()", "a/@*",
};
const char* const tests[] = {"node()", "node()", "*", "*", "a", "b", "r", "text()", "comment()"};

// context/axis::test, or the count of it.
std::string axis_step(random_source& random, const char* const* axes, std::uint32_t axis_count) {
    std::string context = one_of(random, contexts);
    std::string axis = axes[random.below(axis_count)];
    std::string test = one_of(random, tests);
    std::string step = context == "." ? axis + "::" + test : context + "/" + axis + "::" + test;
    if (random.percent(25)) return "count(" + step + ")";
    return step;
}

std::string parent_ancestor(random_source& random) {
    static const char* const axes[] = {"parent", "ancestor", "ancestor-or-self"};
    return axis_step(random, axes, 3);
}

std::string siblings(random_source& random) {
    static const char* const axes[] = {"following-sibling", "preceding-sibling"};
    return axis_step(random, axes, 2);
}

std::string following_preceding(random_source& random) {
    static const char* const axes[] = {"following", "preceding"};
    return axis_step(random, axes, 2);
}

std::string child_descendant_self(random_source& random) {
    static const char* const axes[] = {"child", "descendant", "descendant-or-self", "self"};
    return axis_step(random, axes, 4);
}

std::string attribute_axis(random_source& random) {
    static const char* const contexts_here[] = {
        ".", "a", "b/c", "*", "@id", "a/@*", "child::text()", "child::comment()", "/",
    };
    static const char* const tests_here[] = {"*", "id", "n", "node()", "text()", "x"};
    std::string context = one_of(random, contexts_here);
    std::string test = one_of(random, tests_here);
    std::string step = context == "." ? "attribute::" + test : context + "/attribute::" + test;
    if (random.percent(25)) return "count(" + step + ")";
    return step;
}

// A node test on an axis where the kinds it may match all occur.
std::string node_tests(random_source& random) {
    static const char* const axes[] = {
        "child", "preceding-sibling", "following-sibling", "parent", "descendant", "self",
    };
    static const char* const tests_here[] = {
        "text()", "comment()", "node()", "processing-instruction()", "processing-instruction('x')", "*", "a",
    };
    std::string context = one_of(random, contexts);
    std::string axis = one_of(random, axes);
    std::string test = one_of(random, tests_here);
    return context == "." ? axis + "::" + test : context + "/" + axis + "::" + test;
}

std::string predicate(random_source& random) {
    static const char* const predicates[] = {
        "[1]", "[2]", "[3]", "[last()]", "[last() - 1]", "[position() = 2]", "[position() < 3]", "[position() > 1]",
    };
    return one_of(random, predicates);
}

// A step with one or two positional predicates, or a filtered step.
std::string proximity_positions(random_source& random) {
    static const char* const axes[] = {
        "child", "descendant", "following-sibling", "preceding-sibling", "ancestor", "ancestor-or-self", "following",
        "preceding", "attribute", "self", "parent", "descendant-or-self",
    };
    static const char* const tests_here[] = {"*", "node()", "a", "b", "text()", "comment()"};
    std::string context = one_of(random, contexts);
    std::string axis = one_of(random, axes);
    std::string test = axis == "attribute" ? "*" : one_of(random, tests_here);
    std::string step = (context == "." ? "" : context + "/") + axis + "::" + test;
    std::uint32_t form = random.below(3);
    if (form == 0) return step + predicate(random);
    if (form == 1) return fill("%%%", {step, predicate(random), predicate(random)});
    return fill("(%)%", {step, predicate(random)});
}

// Steps written in abbreviated forms, joined by '/' or '//'.
std::string abbreviations(random_source& random) {
    static const char* const steps[] = {".", "..", "a", "b", "*", "node()", "text()", "@id", "@*", "ancestor::a"};
    static const char* const starts[] = {"", "", "/", "//"};
    static const char* const joins[] = {"/", "//"};
    std::string path = one_of(random, starts);
    std::int32_t count = random.between(1, 3);
    for (std::int32_t i = 0; i < count; ++i) {
        if (i > 0) path += one_of(random, joins);
        path += one_of(random, steps);
    }
    if (path == "/" || path.empty()) path += "a";
    if (random.percent(25)) return "count(" + path + ")";
    return path;
}

std::string numeric_predicates(random_source& random) {
    static const char* const paths[] = {"*", "a", "child::node()", "*/b", "b/*", "@*", "child::text()"};
    static const char* const numbers[] = {
        "1.25", "2.0", "1 div 0", "-1", "0", "'1'", "''", "ceiling(1.5)", "1 + 1", "0.5", "3 div 2", "1.0",
        "2.5 - 0.5", "0 div 0", "-0", "4 div 2", "3 * 0.5",
    };
    return fill("%[%]", {one_of(random, paths), one_of(random, numbers)});
}

// Steps whose results overlap or come from reverse axes.
std::string result_order(random_source& random) {
    static const char* const sets[] = {"*", "a", "*/*", "a/b", "//b", "//*", "b/*", "(a | b)"};
    static const char* const steps[] = {
        "..", "ancestor::*", "ancestor-or-self::node()", "preceding-sibling::*", "following-sibling::*",
        "preceding::*", "following::node()", "parent::*", "*/..", "descendant::*", "@*/..", "text()/..",
    };
    return fill("%/%", {one_of(random, sets), one_of(random, steps)});
}

}  // namespace

std::vector<expression_family> step_families() {
    return {
        {"steps.parent_ancestor", {}, parent_ancestor},
        {"steps.siblings", {}, siblings},
        {"steps.following_preceding", {}, following_preceding},
        {"steps.child_descendant_self", {}, child_descendant_self},
        {"steps.attribute_axis", {}, attribute_axis},
        {"steps.node_tests", {}, node_tests},
        {"steps.proximity_positions", {}, proximity_positions},
        {"steps.abbreviations", {}, abbreviations},
        {"steps.numeric_predicates", {}, numeric_predicates},
        {"steps.result_order", {}, result_order},
    };
}

}  // namespace conformance
