// Time of whole evaluations: the launcher's evaluate_int on a small settings
// document, and "count(//item)" on documents of growing size, whose cost must
// grow linearly. Built when Google Benchmark is installed; run by hand.
#include <benchmark/benchmark.h>

#include <string>

#include <tinyxml.h>

#include "xpath/xpath.hpp"

namespace {

void launcher_expression(benchmark::State& state) {
    TiXmlDocument document;
    document.Parse("<?xml version='1.0'?><Settings><Theme>2</Theme><Language>23</Language><Units>1</Units></Settings>");
    for (auto _ : state) {
        std::int32_t language = 0;
        xpath::evaluate_int(document.RootElement(), "/Settings/Language/text()", &language);
        benchmark::DoNotOptimize(language);
    }
}

void count_items(benchmark::State& state) {
    std::string xml = "<list>";
    for (int64_t i = 0; i < state.range(0); ++i) xml += "<item>" + std::to_string(i) + "</item>";
    xml += "</list>";
    TiXmlDocument document;
    document.Parse(xml.c_str());
    for (auto _ : state) {
        std::int32_t count = 0;
        xpath::evaluate_int(document.RootElement(), "count(//item)", &count);
        if (count != state.range(0)) state.SkipWithError("wrong count");
    }
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(launcher_expression);
BENCHMARK(count_items)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

BENCHMARK_MAIN();
