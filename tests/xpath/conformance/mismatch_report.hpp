// The conformance report: the table of mismatches by rule (rule, cases,
// mismatches, the shortest example), and each mismatch with its document,
// expression, every engine's answer and a shell line that reproduces the
// project's side with xpath-eval.
#pragma once

#include <string>

#include "conformance_run.hpp"

namespace conformance {

// A Markdown table, one row per rule in name order.
std::string mismatch_table(const run_summary& summary);

// Several lines: rule, document, expression, answers, reproducer.
std::string describe_outcome(const case_outcome& outcome, const std::string& xpath_eval);

// One shell line that pipes the document into xpath-eval. A document with
// other than ASCII text gets an XML declaration, so that xpath-eval's loader
// reads it as UTF-8, as the test does.
std::string reproducer(const conformance_case& tested, const std::string& xpath_eval);

// The text as one shell word: in single quotes, or as $'...' when it holds
// control characters, so that the line stays one line.
std::string shell_word(const std::string& text);

}  // namespace conformance
