// The report's table, mismatch descriptions and reproducers.
#include "mismatch_report.hpp"

#include <cstdio>

namespace conformance {
namespace {

bool is_control(unsigned char c) { return c < 0x20 || c == 0x7f; }

std::string ansi_c_word(const std::string& text) {
    std::string word = "$'";
    for (unsigned char c : text) {
        if (c == '\n')
            word += "\\n";
        else if (c == '\t')
            word += "\\t";
        else if (c == '\r')
            word += "\\r";
        else if (c == '\\' || c == '\'')
            word += std::string("\\") + static_cast<char>(c);
        else if (is_control(c)) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            word += escaped;
        } else {
            word += static_cast<char>(c);
        }
    }
    return word + "'";
}

bool needs_utf8_declaration(const std::string& document) {
    for (unsigned char c : document)
        if (c >= 0x80) return true;
    return document.find("&#") != std::string::npos;
}

// Markdown table cells: '|' would end the cell, '`' the code span.
std::string cell_code(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '|')
            escaped += "\\|";
        else if (c == '\n')
            escaped += "\\n";
        else if (c == '\t')
            escaped += "\\t";
        else if (c == '\r')
            escaped += "\\r";
        else
            escaped += c;
    }
    const char* fence = escaped.find('`') == std::string::npos ? "`" : "`` ";
    const char* close = escaped.find('`') == std::string::npos ? "`" : " ``";
    return fence + escaped + close;
}

std::string table_row(const std::string& rule, const rule_tally& tally, const run_summary& summary) {
    std::string example;
    if (tally.example >= 0) {
        const conformance_case& shown = summary.mismatches[tally.example].tested;
        example = cell_code(shown.expression) + " on " + cell_code(shown.document);
    }
    std::string counts = " | " + std::to_string(tally.cases) + " | " + std::to_string(tally.mismatches);
    if (tally.skipped > 0) counts += " (" + std::to_string(tally.skipped) + " skipped)";
    if (tally.broken > 0) counts += " (" + std::to_string(tally.broken) + " broken)";
    return "| " + rule + counts + " | " + example + " |\n";
}

}  // namespace

std::string mismatch_table(const run_summary& summary) {
    std::string table = "| rule | cases | mismatches | shortest example |\n|---|---:|---:|---|\n";
    std::int32_t cases = 0;
    std::int32_t mismatches = 0;
    for (const auto& entry : summary.rules) {
        table += table_row(entry.first, entry.second, summary);
        cases += entry.second.cases;
        mismatches += entry.second.mismatches;
    }
    return table + "| all | " + std::to_string(cases) + " | " + std::to_string(mismatches) + " | |\n";
}

std::string shell_word(const std::string& text) {
    for (unsigned char c : text)
        if (is_control(c)) return ansi_c_word(text);
    std::string word = "'";
    for (char c : text) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return word + "'";
}

std::string reproducer(const conformance_case& tested, const std::string& xpath_eval) {
    std::string document = tested.document;
    if (needs_utf8_declaration(document)) document = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + document;
    return "printf '%s' " + shell_word(document) + " | " + xpath_eval + " - " + shell_word(tested.expression);
}

std::string describe_outcome(const case_outcome& outcome, const std::string& xpath_eval) {
    std::string text = "rule: " + outcome.tested.rule + "\n";
    text += "document: " + outcome.tested.document + "\n";
    const std::string& expression = outcome.tested.expression;
    text += "expression: " + (shell_word(expression)[0] == '$' ? shell_word(expression) : expression) + "\n";
    text += "ours: " + describe_answer(outcome.ours) + "\n";
    text += "libxml2: " + describe_answer(outcome.libxml2) + "\n";
    if (outcome.pugixml_asked) text += "pugixml: " + describe_answer(outcome.pugixml) + "\n";
    if (outcome.doubt) text += "reference: pugixml (libxml2 is doubted on " + outcome.doubt->form + ")\n";
    return text + "reproduce: " + reproducer(outcome.tested, xpath_eval) + "\n";
}

}  // namespace conformance
