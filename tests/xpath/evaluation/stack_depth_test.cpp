// The engine on a thread with the device's 64 KiB stack: the longest chains
// that decode (the entry bound ends them, not the stack), and the deepest
// nesting that decodes with one level beyond it, through both entries.
#include <cstdint>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "support/small_stack_thread.hpp"
#include "xpath/evaluation/evaluation_helpers.hpp"
#include "xpath/evaluation/path_evaluator.hpp"

namespace {

constexpr std::size_t device_stack_bytes = 64 * 1024;

const char* const chains_xml = "<a><a><a>1</a></a><b>2</b></a>";

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

// Each chain at its longest, then one link more; each nesting at 16 levels
// of Expr (the whole expression and 15 nested), then at 17.
std::vector<row> deep_rows() {
    return {
        {repeat("-", 9986) + "1", "ok int: 1", 1},
        {repeat("-", 9987) + "1", "overflow", 0},
        {"1" + repeat("+1", 1248), "ok int: 1249", 1249},
        {"1" + repeat("+1", 1249), "overflow", 0},
        // Rounding shows the order in which a chain's operators apply: left to right.
        {"(0 + 0.1 + 0.2 - 0.3" + repeat(" + 0", 600) + ") * 100000000000000000.0", "ok double: 5.551115", 5},
        {"a" + repeat("|a", 767), "ok nodes: element a", 0},
        {"a" + repeat("|a", 768), "overflow", 0},
        {"a" + repeat("/a", 1663), "ok nodes: empty", 0},
        {"a" + repeat("/a", 1664), "overflow", 0},
        {repeat("/a", 832), "ok nodes: empty", 0},
        {repeat("/a", 833), "overflow", 0},
        {repeat("(", 8) + "-2" + repeat(")", 8), "ok int: -2", -2},
        {repeat("a[", 8) + "1" + repeat("]", 8), "ok nodes: empty", 0},
        {repeat("string-length(", 8) + "'abcdefghijkl'" + repeat(")", 8), "ok int: 1", 1},
        {repeat("string-length(", 9) + "'abcdefghijkl'" + repeat(")", 9), "overflow", 0},
        {repeat("a[", 15) + "1", "ok nodes: element a", 0},
        {repeat("a[", 16) + "1", "overflow", 0},
        {repeat("(", 15) + "1", "syntax", 0},
        {repeat("(", 16) + "1", "overflow", 0},
        {repeat("f(", 15) + "1", "ok nodes: empty", 0},
        {repeat("f(", 16) + "1", "overflow", 0},
        {"a[" + repeat("(1)[", 14) + "1", "ok nodes: element a", 0},
        {"a[" + repeat("(1)[", 15) + "1", "overflow", 0},
    };
}

TEST(stack_depth, chains_and_nesting_end_with_a_result_or_overflow_on_a_device_stack) {
    for (const row& r : deep_rows()) {
        SCOPED_TRACE(r.expression.substr(0, 40) + "... (" + std::to_string(r.expression.size()) + " bytes)");
        std::string outcome;
        std::int32_t as_int = -1;
        bool int_ok = false;
        test_support::stack_run run = test_support::run_on_small_stack(device_stack_bytes, [&] {
            outcome = test_support::describe(chains_xml, r.expression.c_str());
            auto document = test_support::parse_xml(chains_xml);
            int_ok = xpath::evaluate_int(document->RootElement(), r.expression.c_str(), &as_int);
        });
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(outcome, r.outcome);
        EXPECT_EQ(as_int, r.as_int);
        EXPECT_EQ(int_ok, outcome.rfind("ok", 0) == 0);
    }
}

// The deepest stack an evaluation reaches: the nesting bound's deepest forms
// (15 levels inside the whole expression, each decoded down to its innermost
// rule), and the deepest nestings that also execute. The budget leaves a
// quarter of the device stack to the caller.
TEST(stack_depth, deepest_evaluations_stay_within_the_budget) {
    constexpr std::size_t budget_bytes = 48 * 1024;
    const std::string deepest[] = {
        repeat("a[", 15) + "1",
        repeat("f(", 15) + "1",
        repeat("(", 15) + "1",
        repeat("//a[", 15) + "1",
        repeat("a/child::b[", 15) + "1",
        repeat("-(1)[", 15) + "1",
        repeat("1 = count(a[", 7) + "1 or (1",
        repeat("a[", 8) + "1" + repeat("]", 8),
        repeat("(a)[", 7) + "1" + repeat("]", 7),
        repeat("concat(-", 7) + "1" + repeat(", 2)", 7),
    };
    std::size_t worst = 0;
    for (const std::string& expression : deepest) {
        SCOPED_TRACE(expression);
        test_support::stack_run run = test_support::run_on_small_stack(
            device_stack_bytes, [&] { test_support::describe(chains_xml, expression.c_str()); });
        ASSERT_TRUE(run.finished);
        EXPECT_LE(run.peak_bytes, budget_bytes);
        if (run.peak_bytes > worst) worst = run.peak_bytes;
    }
    if (worst == 0) GTEST_SKIP() << "the stack's peak is not measured on this platform";
    std::printf("deepest evaluation used %zu of %zu stack bytes\n", worst, device_stack_bytes);
}

}  // namespace
