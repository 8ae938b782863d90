// Judging and tallying cases.
#include "conformance_run.hpp"

#include "answer_comparison.hpp"
#include "case_generator.hpp"
#include "libxml2_adapter.hpp"
#include "project_adapter.hpp"
#include "pugixml_adapter.hpp"

namespace conformance {
namespace {

std::size_t example_length(const case_outcome& outcome) {
    return outcome.tested.document.size() + outcome.tested.expression.size();
}

void ask_pugixml(case_outcome& outcome) {
    if (outcome.pugixml_asked || !pugixml_available()) return;
    outcome.pugixml = pugixml_answer(outcome.tested.document, outcome.tested.expression);
    outcome.pugixml_asked = true;
}

// The shortest mismatch of a rule is its example in the table.
void add_mismatch(run_summary& summary, rule_tally& tally, const case_outcome& outcome) {
    ++tally.mismatches;
    summary.mismatches.push_back(outcome);
    std::int32_t index = static_cast<std::int32_t>(summary.mismatches.size()) - 1;
    if (tally.example < 0 || example_length(outcome) < example_length(summary.mismatches[tally.example]))
        tally.example = index;
}

}  // namespace

case_outcome judge_case(const conformance_case& tested) {
    case_outcome outcome;
    outcome.tested = tested;
    outcome.ours = project_answer(tested.document, tested.expression);
    outcome.libxml2 = libxml2_answer(tested.document, tested.expression);
    outcome.doubt = doubt_for(tested);
    if (outcome.doubt) {
        if (!pugixml_available()) {
            outcome.result = verdict::skipped;
            return outcome;
        }
        ask_pugixml(outcome);
    }
    const engine_answer& reference = outcome.doubt ? outcome.pugixml : outcome.libxml2;
    if (outcome.ours.document_refused || outcome.libxml2.document_refused || reference.document_refused) {
        outcome.result = verdict::broken;
        return outcome;
    }
    outcome.result = same_answer(outcome.ours, reference) ? verdict::agrees : verdict::differs;
    if (outcome.result == verdict::differs) ask_pugixml(outcome);
    return outcome;
}

void add_outcome(run_summary& summary, const case_outcome& outcome) {
    rule_tally& tally = summary.rules[outcome.tested.rule];
    ++tally.cases;
    switch (outcome.result) {
        case verdict::agrees: break;
        case verdict::skipped: ++tally.skipped; break;
        case verdict::differs: add_mismatch(summary, tally, outcome); break;
        case verdict::broken:
            ++tally.broken;
            summary.broken.push_back(outcome);
            break;
    }
}

std::vector<conformance_case> generated_cases(std::uint32_t seed, std::uint32_t count) {
    std::vector<conformance_case> cases;
    cases.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) cases.push_back(generate_case(seed, i));
    return cases;
}

run_summary run_cases(const std::vector<conformance_case>& cases) {
    run_summary summary;
    for (const conformance_case& tested : cases) add_outcome(summary, judge_case(tested));
    return summary;
}

}  // namespace conformance
