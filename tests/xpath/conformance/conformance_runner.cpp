// conformance-runner: runs N generated cases from SEED and the hand-written
// rows through the project's engine and libxml2 (pugixml where libxml2 is
// doubted) and prints the table of mismatches by rule, then every mismatch.
//   conformance-runner [--xpath-eval PATH] N SEED
// PATH is the xpath-eval the reproducers name (default build/bin/xpath-eval).
// Exit status: 0 after a run, 1 when a case is broken, 2 for a usage error.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "conformance_run.hpp"
#include "hand_written_cases.hpp"
#include "mismatch_report.hpp"

namespace {

struct options {
    std::string xpath_eval = "build/bin/xpath-eval";
    std::uint32_t count = 0;
    std::uint32_t seed = 0;
};

bool read_number(const char* text, std::uint32_t& out) {
    char* end = nullptr;
    unsigned long value = std::strtoul(text, &end, 10);
    if (*text == '\0' || *end != '\0' || *text == '-' || value > 0xFFFFFFFFul) return false;
    out = static_cast<std::uint32_t>(value);
    return true;
}

bool parse_options(int argc, char** argv, options& parsed) {
    int next = 1;
    if (next + 1 < argc && std::string(argv[next]) == "--xpath-eval") {
        parsed.xpath_eval = argv[next + 1];
        next += 2;
    }
    if (argc - next != 2) {
        std::fprintf(stderr, "usage: conformance-runner [--xpath-eval PATH] N SEED\n");
        return false;
    }
    if (!read_number(argv[next], parsed.count) || !read_number(argv[next + 1], parsed.seed)) {
        std::fprintf(stderr, "conformance-runner: N and SEED must be numbers from 0 to 4294967295, not '%s' '%s'\n",
                     argv[next], argv[next + 1]);
        return false;
    }
    return true;
}

void print_cases(const char* heading, const std::vector<conformance::case_outcome>& outcomes, const std::string& tool) {
    if (outcomes.empty()) return;
    std::printf("\n%s (%zu)\n", heading, outcomes.size());
    for (const conformance::case_outcome& outcome : outcomes)
        std::printf("\n%s", conformance::describe_outcome(outcome, tool).c_str());
}

}  // namespace

int main(int argc, char** argv) {
    options parsed;
    if (!parse_options(argc, argv, parsed)) return 2;
    std::vector<conformance::conformance_case> cases = conformance::generated_cases(parsed.seed, parsed.count);
    const std::vector<conformance::conformance_case>& rows = conformance::hand_written_cases();
    cases.insert(cases.end(), rows.begin(), rows.end());
    conformance::run_summary summary = conformance::run_cases(cases);
    std::printf("%u generated cases from seed %u and %zu hand-written rows\n\n%s", parsed.count, parsed.seed,
                rows.size(), conformance::mismatch_table(summary).c_str());
    print_cases("Broken cases: an engine did not parse the document", summary.broken, parsed.xpath_eval);
    print_cases("Mismatches", summary.mismatches, parsed.xpath_eval);
    return summary.broken.empty() ? 0 : 1;
}
