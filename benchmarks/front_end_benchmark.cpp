// Time to scan and decode expressions with the XPath front end: the
// launcher's own expression and a longer one with predicates and operators.
// Built when Google Benchmark is installed; not part of the test run.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "front_end/expression_front_end.hpp"
#include "front_end/lexer.hpp"

namespace {

// Counts actions without storing them, so that only the front end is measured.
class counting_front_end : public xpath::expression_front_end {
public:
    using expression_front_end::expression_front_end;
    std::int32_t record_action(std::int32_t, std::int32_t, std::int32_t, const char*) override { return ++count; }
    std::int32_t action_count() override { return count; }
    std::int32_t count = 0;
};

void scan_and_decode(benchmark::State& state, const char* expression) {
    for (auto _ : state) {
        counting_front_end front_end(expression);
        xpath::scan_lexemes(front_end.reader, *front_end.walker);
        front_end.walker->decode_expression();
        benchmark::DoNotOptimize(front_end.count);
    }
}

void scan_only(benchmark::State& state, const char* expression) {
    for (auto _ : state) {
        counting_front_end front_end(expression);
        xpath::scan_lexemes(front_end.reader, *front_end.walker);
        benchmark::DoNotOptimize(front_end.walker->last);
    }
}

}  // namespace

BENCHMARK_CAPTURE(scan_only, launcher_expression, "/Settings/Language/text()");
BENCHMARK_CAPTURE(scan_and_decode, launcher_expression, "/Settings/Language/text()");
BENCHMARK_CAPTURE(scan_and_decode, predicates_and_operators,
                  "//Settings[@version >= 2]/Language[position() = last()] | /a/b[c = 'x' or d != 1.5]");

BENCHMARK_MAIN();
