// The engine on a thread with the device's 64 KiB stack: long chains of every
// kind, and the deepest nesting that decodes and runs with one level beyond
// it, through both entries.
#include <cstdint>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "support/small_stack_thread.hpp"
#include "xpath/evaluation/evaluation_helpers.hpp"
#include "evaluation/path_evaluator.hpp"

namespace {

constexpr std::size_t device_stack_bytes = 64 * 1024;

std::string nested_elements(int depth) {
    return depth == 0 ? "1" : "<a>" + nested_elements(depth - 1) + "</a>";
}

// Eighteen "a" elements nested, and a "b" inside the outermost: predicates
// nested 16 deep find a node at every level, and so run at every level.
const std::string chains_xml = "<a>" + nested_elements(17) + "<b>2</b></a>";

std::string repeat(const char* text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

struct row {
    std::string expression;
    const char* outcome;  // as test_support::describe gives it
    std::int32_t as_int;  // what evaluate_int writes
};

// A chain of each kind, thousands of links long, decodes and runs: decoding
// is linear, and chains run in loops. Nesting decodes and runs to 16 levels
// inside the whole expression; at 17 it overflows, closed or not.
std::vector<row> deep_rows() {
    std::string nested_predicates = "1";
    for (int i = 0; i < 16; ++i) nested_predicates = "a[" + nested_predicates + "]";
    return {
        {repeat("-", 20001) + "1", "ok int: -1", -1},
        {"1" + repeat("+1", 5000), "ok int: 5001", 5001},
        // Rounding shows the order in which a chain's operators apply: left to right.
        {"(0 + 0.1 + 0.2 - 0.3" + repeat(" + 0", 600) + ") * 100000000000000000.0", "ok double: 5.551115123125783", 5},
        {"1024" + repeat(" div 2", 10) + repeat(" * 1", 2000) + " * 7 mod 4", "ok double: 3", 3},
        {"2" + repeat(" > 1", 2000), "ok bool: false", 0},   // 2 > 1 is true, then true > 1 is false from then on
        {"0" + repeat(" = 0", 2001), "ok bool: true", 1},   // 0 = 0 is true, true = 0 false, false = 0 true, ...
        {"a" + repeat(" or a", 2000), "ok bool: true", 1},
        {"b" + repeat(" and a", 2000), "ok bool: true", 1},
        {"a" + repeat("|a", 5000), "ok nodes: element a", 1},
        {"a" + repeat("/a", 5000), "ok nodes: empty", 0},
        {repeat("/a", 5000), "ok nodes: empty", 0},
        {"(a)" + repeat("[1]", 2000), "ok nodes: element a", 1},
        {repeat("(", 16) + "-2" + repeat(")", 16), "ok int: -2", -2},
        {repeat("(", 17) + "-2" + repeat(")", 17), "overflow", 0},
        {nested_predicates, "ok nodes: element a", 1},
        {"a[" + nested_predicates + "]", "overflow", 0},
        {repeat("string-length(", 16) + "'abcdefghijkl'" + repeat(")", 16), "ok int: 1", 1},
        {repeat("string-length(", 17) + "'abcdefghijkl'" + repeat(")", 17), "overflow", 0},
        {repeat("a[", 16) + "1", "syntax", 0},
        {repeat("a[", 17) + "1", "overflow", 0},
        {repeat("(", 16) + "1", "syntax", 0},
        {repeat("(", 17) + "1", "overflow", 0},
        {repeat("f(", 16) + "1", "syntax", 0},
        {repeat("f(", 17) + "1", "overflow", 0},
        {"a[" + repeat("(1)[", 15) + "1", "syntax", 0},
        {"a[" + repeat("(1)[", 16) + "1", "overflow", 0},
    };
}

TEST(stack_depth, chains_and_nesting_end_with_a_result_or_overflow_on_a_device_stack) {
    for (const row& r : deep_rows()) {
        SCOPED_TRACE(r.expression.substr(0, 40) + "... (" + std::to_string(r.expression.size()) + " bytes)");
        std::string outcome;
        std::int32_t as_int = -1;
        bool int_ok = false;
        test_support::stack_run run = test_support::run_on_small_stack(device_stack_bytes, [&] {
            outcome = test_support::describe(chains_xml.c_str(), r.expression.c_str());
            auto document = test_support::parse_xml(chains_xml.c_str());
            int_ok = xpath::evaluate_int(document->RootElement(), r.expression.c_str(), &as_int);
        });
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(outcome, r.outcome);
        EXPECT_EQ(as_int, r.as_int);
        EXPECT_EQ(int_ok, outcome.rfind("ok", 0) == 0);
    }
}

// The deepest stack an evaluation reaches: the nesting bound's deepest forms
// (16 levels inside the whole expression), unclosed, so that they are decoded
// down to their innermost rule, and closed, so that they also run at every
// level. The budget leaves a quarter of the device stack to the caller.
TEST(stack_depth, deepest_evaluations_stay_within_the_budget) {
    constexpr std::size_t budget_bytes = 48 * 1024;
    const std::string deepest[] = {
        repeat("a[", 16) + "1",
        repeat("f(", 16) + "1",
        repeat("(", 16) + "1",
        repeat("//a[", 16) + "1",
        repeat("a/child::b[", 16) + "1",
        repeat("-(1)[", 16) + "1",
        repeat("1 = count(a[", 7) + "1 or ((1",
        repeat("a[", 16) + "1" + repeat("]", 16),
        repeat("a/child::a[", 16) + "1" + repeat("]", 16),
        repeat("(a)[", 16) + "1" + repeat("]", 16),
        repeat("(", 16) + "1" + repeat(")", 16),
        repeat("concat(-", 16) + "1" + repeat(", 2)", 16),
        repeat("1 = count(a[", 7) + "1 or ((1))" + repeat("])", 7),
    };
    std::size_t worst = 0;
    for (const std::string& expression : deepest) {
        SCOPED_TRACE(expression);
        test_support::stack_run run = test_support::run_on_small_stack(
            device_stack_bytes, [&] { test_support::describe(chains_xml.c_str(), expression.c_str()); });
        ASSERT_TRUE(run.finished);
        EXPECT_LE(run.peak_bytes, budget_bytes);
        if (run.peak_bytes > worst) worst = run.peak_bytes;
    }
    if (worst == 0) GTEST_SKIP() << "the stack's peak is not measured on this platform";
    std::printf("deepest evaluation used %zu of %zu stack bytes\n", worst, device_stack_bytes);
}

}  // namespace
