// Judging cases: each case is evaluated by the project's engine and by the
// reference (libxml2, or pugixml for a form of the doubt list) and the two
// answers compared; a mismatch also asks pugixml, for the report. The tally
// counts cases and mismatches by rule and keeps every mismatch.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "conformance_case.hpp"
#include "engine_answer.hpp"
#include "reference_doubts.hpp"

namespace conformance {

enum class verdict {
    agrees,
    differs,
    skipped,  // a form of the doubt list, and pugixml is not installed
    broken,   // an engine did not parse the document: the case itself is faulty
};

struct case_outcome {
    conformance_case tested;
    verdict result = verdict::agrees;
    engine_answer ours;
    engine_answer libxml2;
    engine_answer pugixml;  // when asked: a mismatch or a doubt form
    bool pugixml_asked = false;
    const reference_doubt* doubt = nullptr;  // set when pugixml is the reference
};

case_outcome judge_case(const conformance_case& tested);

struct rule_tally {
    std::int32_t cases = 0;
    std::int32_t mismatches = 0;
    std::int32_t skipped = 0;
    std::int32_t broken = 0;
    std::int32_t example = -1;  // index into run_summary::mismatches: the shortest mismatch
};

struct run_summary {
    std::map<std::string, rule_tally> rules;  // by rule name
    std::vector<case_outcome> mismatches;     // every mismatch, in case order
    std::vector<case_outcome> broken;         // every broken case
};

void add_outcome(run_summary& summary, const case_outcome& outcome);

// Cases 0 to count - 1 of the seed.
std::vector<conformance_case> generated_cases(std::uint32_t seed, std::uint32_t count);
run_summary run_cases(const std::vector<conformance_case>& cases);

}  // namespace conformance
