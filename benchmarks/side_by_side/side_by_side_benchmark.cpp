// Side-by-side benchmark of the project's XPath engine against the peers
// that are installed (pugixml, libxml2): the same expressions over the same
// documents, in one process. Every engine's answer is checked first; an
// engine that answers wrongly is reported and not timed. At the end a table
// gives each engine's median CPU time per evaluation, the ratio of the
// project to pugixml, and the project's heap allocations per evaluation.
//   side_by_side_benchmark [--project-limit-ms=N] [Google Benchmark options]
// --project-limit-ms leaves out project workloads whose checking evaluation
// took longer than N ms (for measuring slow builds in bounded time).
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <chrono>
#include <fstream>
#include <map>
#include <new>
#include <sstream>

#include "engines.hpp"

// Counts the operator-new allocations of the thread that evaluates.
namespace {
std::atomic<long> allocation_count{0};
}

void* operator new(std::size_t size) {
    allocation_count.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace side_by_side {

std::string integer_answer(std::int64_t value) {
    const std::int64_t lowest = -2147483647 - 1, highest = 2147483647;
    return std::to_string(value < lowest ? lowest : value > highest ? highest : value);
}

std::string nodes_answer(std::int64_t count, const std::string& first_id) {
    return "count " + std::to_string(count) + ", first id '" + first_id + "'";
}

}  // namespace side_by_side

namespace {

using namespace side_by_side;

std::string read_file(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string list_document(int items) {
    std::string xml = "<root><a><b x=\"1\"/><b x=\"2\"/><b x=\"3\"/></a><list>";
    for (int i = 1; i <= items; ++i) xml += "<item id=\"" + std::to_string(i) + "\"/>";
    return xml + "</list></root>";
}

std::vector<workload> workloads() {
    std::vector<workload> all;
    all.push_back({"/Settings/Language/text()", answer_kind::integer, "settings", "launcher, evaluate_int", "2"});
    for (int items : {10000, 100000}) {
        std::string doc = "list" + std::to_string(items);
        std::string label = std::to_string(items / 1000) + "k";
        std::string n = std::to_string(items);
        std::int64_t id_sum = static_cast<std::int64_t>(items) * (items + 1) / 2;
        all.push_back({"count(//item)", answer_kind::integer, doc, label, n});
        all.push_back({"//item", answer_kind::nodes, doc, label, nodes_answer(items, "1")});
        all.push_back({"count(//item[@id > 5000])", answer_kind::integer, doc, label, std::to_string(items - 5000)});
        all.push_back({"/root/a/b[2]/@x", answer_kind::text, doc, label, "2"});
        all.push_back({"//item[last()]", answer_kind::nodes, doc, label, nodes_answer(1, n)});
        all.push_back({"sum(//item/@id)", answer_kind::integer, doc, label, integer_answer(id_sum)});
        all.push_back({"//item[500]/@id", answer_kind::text, doc, label, "500"});
        all.push_back({"//item[position() > last() - 10]", answer_kind::nodes, doc, label,
                       nodes_answer(10, std::to_string(items - 9))});
        all.push_back({"count(//item[@id = '77'])", answer_kind::integer, doc, label, "1"});
    }
    // Two node-sets compared for every item: the inner path runs per item,
    // the comparison itself must not cost the product of the two sizes.
    all.push_back({"count(//item[@id = //item/@id])", answer_kind::integer, "list10000", "10k", "10000"});
    return all;
}

std::string row_name(const workload& w) {
    return "`" + w.expression + "` " + w.label;
}

// Keeps the median of every benchmark's repetitions, in nanoseconds.
class table_reporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians_ns[run.run_name.function_name] =
                    run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians_ns;
};

std::string format_ns(double ns) {
    char text[32];
    if (ns < 1e3) std::snprintf(text, sizeof text, "%.0f ns", ns);
    else if (ns < 1e6) std::snprintf(text, sizeof text, "%.3g us", ns / 1e3);
    else if (ns < 1e9) std::snprintf(text, sizeof text, "%.3g ms", ns / 1e6);
    else std::snprintf(text, sizeof text, "%.3g s", ns / 1e9);
    return text;
}

long project_allocations(engine& project, const workload& w) {
    project.evaluate(w);
    long before = allocation_count.load();
    project.evaluate(w);
    return allocation_count.load() - before;
}

void print_table(const std::vector<workload>& all, const std::vector<std::unique_ptr<engine>>& engines,
                 const std::map<std::string, std::string>& notes, const std::map<std::string, long>& allocations,
                 const table_reporter& reporter) {
    std::printf("\n| workload |");
    for (const auto& e : engines) std::printf(" %s |", e->name());
    std::printf(" project / pugixml | project allocations |\n|---|");
    for (std::size_t i = 0; i < engines.size(); ++i) std::printf("---:|");
    std::printf("---:|---:|\n");
    for (const workload& w : all) {
        std::printf("| %s |", row_name(w).c_str());
        std::map<std::string, double> times;
        for (const auto& e : engines) {
            std::string key = row_name(w) + " / " + e->name();
            auto time = reporter.medians_ns.find(key);
            auto note = notes.find(key);
            if (time != reporter.medians_ns.end()) times[e->name()] = time->second;
            std::printf(" %s |", time != reporter.medians_ns.end() ? format_ns(time->second).c_str()
                                 : note != notes.end()            ? note->second.c_str()
                                                                  : "-");
        }
        if (times.count("project") && times.count("pugixml"))
            std::printf(" %.2fx |", times["project"] / times["pugixml"]);
        else
            std::printf(" - |");
        auto counted = allocations.find(row_name(w));
        if (counted != allocations.end()) std::printf(" %ld |\n", counted->second);
        else std::printf(" - |\n");
    }
}

}  // namespace

int main(int argc, char** argv) {
    double project_limit_ms = -1;
    std::vector<char*> arguments;
    for (int i = 0; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument.rfind("--project-limit-ms=", 0) == 0)
            project_limit_ms = std::atof(argument.c_str() + 19);
        else
            arguments.push_back(argv[i]);
    }
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());

    std::vector<std::unique_ptr<engine>> engines;
    engines.push_back(make_project_engine());
#ifdef WITH_PUGIXML
    engines.push_back(make_pugixml_engine());
#endif
#ifdef WITH_LIBXML2
    engines.push_back(make_libxml2_engine());
#endif
    const std::string settings = read_file(SAMPLE_SETTINGS);
    const std::string list10k = list_document(10000);
    const std::string list100k = list_document(100000);
    for (auto& e : engines) {
        e->load("settings", settings);
        e->load("list10000", list10k);
        e->load("list100000", list100k);
    }

    static std::vector<workload> all = workloads();
    std::map<std::string, std::string> notes;
    std::map<std::string, long> allocations;
    std::map<std::string, double> project_ms;  // by expression: the last checking evaluation
    for (const workload& w : all) {
        for (auto& e : engines) {
            std::string key = row_name(w) + " / " + e->name();
            bool is_project = e.get() == engines.front().get();
            // A workload that is already slow on the smaller document is not run on the larger one.
            if (is_project && project_limit_ms >= 0 && project_ms[w.expression] * 10 > project_limit_ms) {
                notes[key] = "not run (" + format_ns(project_ms[w.expression] * 1e6) + " on the smaller document)";
                continue;
            }
            auto start = std::chrono::steady_clock::now();
            std::string answer = e->answer(w);
            double took_ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            if (answer != w.expected) {
                std::printf("%s answers \"%s\" for %s, expected \"%s\": not timed\n", e->name(), answer.c_str(),
                            row_name(w).c_str(), w.expected.c_str());
                notes[key] = "wrong answer";
                continue;
            }
            if (is_project) {
                project_ms[w.expression] = took_ms;
                if (project_limit_ms >= 0 && took_ms > project_limit_ms) {
                    notes[key] = "not timed (one evaluation " + format_ns(took_ms * 1e6) + ")";
                    continue;
                }
                allocations[row_name(w)] = project_allocations(*e, w);
            }
            engine* timed = e.get();
            const workload* load = &w;
            benchmark::RegisterBenchmark(key.c_str(), [timed, load](benchmark::State& state) {
                for (auto _ : state) benchmark::DoNotOptimize(timed->evaluate(*load));
            })->Repetitions(5)->ReportAggregatesOnly(true)->MinTime(0.1);
        }
    }
    table_reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    print_table(all, engines, notes, allocations, reporter);
    benchmark::Shutdown();
    return 0;
}
