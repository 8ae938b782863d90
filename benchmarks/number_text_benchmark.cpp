// Numbers written as XPath writes them: format_number, whose digits come
// from printf at the fewest precision that strtod reads back (no digit
// generation of our own, and small on Windows), beside std::to_chars, which
// finds the same shortest digits by itself but adds about 300 KB to a
// Windows program. Built when Google Benchmark is installed; run by hand.
#include <benchmark/benchmark.h>

#include <charconv>
#include <random>
#include <string>
#include <vector>

#include "evaluation/number_text.hpp"

namespace {

// Fractions of 1 to 17 significant digits, and integers.
std::vector<double> sample_numbers(bool fractions) {
    std::mt19937_64 random(7);
    std::vector<double> numbers;
    for (int i = 0; i < 1024; ++i) {
        double value = static_cast<double>(random() % 100000000000ull);
        numbers.push_back(fractions ? value / static_cast<double>(1 + random() % 1000000) : value);
    }
    return numbers;
}

void format_number(benchmark::State& state) {
    std::vector<double> numbers = sample_numbers(state.range(0) != 0);
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(xpath::format_number(numbers[i++ % numbers.size()]));
}

void to_chars_fixed(benchmark::State& state) {
    std::vector<double> numbers = sample_numbers(state.range(0) != 0);
    std::size_t i = 0;
    char text[400];
    for (auto _ : state) {
        auto written = std::to_chars(text, text + sizeof text, numbers[i++ % numbers.size()], std::chars_format::fixed);
        benchmark::DoNotOptimize(std::string(text, written.ptr));
    }
}

}  // namespace

// Argument 1: fractions; 0: integers.
BENCHMARK(format_number)->Arg(1)->Arg(0);
BENCHMARK(to_chars_fixed)->Arg(1)->Arg(0);
BENCHMARK_MAIN();
