// Node keys, node labels and the one-line description of an answer.
#include "engine_answer.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace conformance {
namespace {

constexpr std::size_t label_text_limit = 24;

// The length of the well-formed UTF-8 sequence at text[at], or 0.
std::size_t sequence_length(const std::string& text, std::size_t at) {
    unsigned char lead = static_cast<unsigned char>(text[at]);
    std::size_t length = lead < 0x80                   ? 1
                         : lead >= 0xC2 && lead < 0xE0 ? 2
                         : lead >= 0xE0 && lead < 0xF0 ? 3
                         : lead >= 0xF0 && lead < 0xF5 ? 4
                                                       : 0;
    if (length == 0 || at + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 0;
    return length;
}

// Reports show answers as they came, except that a control character or a
// byte outside well-formed UTF-8 (an engine may cut a character in half)
// is written as an escape, so every report stays readable text.
std::string printable(const std::string& text) {
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[at]);
        std::size_t length = sequence_length(text, at);
        if (length > 0 && c >= 0x20 && c != 0x7f) {
            out.append(text, at, length);
            at += length;
            continue;
        }
        if (c == '\t') {
            out += "\\t";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            out += escaped;
        }
        ++at;
    }
    return out;
}

// Cut at a character boundary: never inside a UTF-8 sequence.
std::string cut(const std::string& text) {
    if (text.size() <= label_text_limit) return printable(text);
    std::size_t end = label_text_limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return printable(text.substr(0, end)) + "...";
}

// Shortest of %.15g, %.16g and %.17g that reads back to the same double.
std::string number_text(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
    char text[40];
    for (int digits = 15; digits <= 17; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (std::strtod(text, nullptr) == value) break;
    }
    return text;
}

std::string describe_nodes(const engine_answer& answer) {
    std::string text = "nodes [";
    for (std::size_t i = 0; i < answer.node_keys.size(); ++i) {
        if (i > 0) text += ", ";
        text += answer.node_keys[i];
        if (i < answer.node_labels.size()) text += " " + answer.node_labels[i];
    }
    return text + "]";
}

}  // namespace

std::string root_key() { return "/"; }

std::string child_key(const std::string& parent_key, std::size_t index) {
    return (parent_key == root_key() ? "" : parent_key) + "/" + std::to_string(index);
}

std::string attribute_key(const std::string& element_key, const std::string& name) { return element_key + "/@" + name; }

std::string element_label(const std::string& name) { return "<" + name + ">"; }

std::string attribute_label(const std::string& name, const std::string& value) {
    return "@" + name + "=\"" + cut(value) + "\"";
}

std::string text_label(const std::string& text) { return "\"" + cut(text) + "\""; }

std::string comment_label(const std::string& text) { return "<!--" + cut(text) + "-->"; }

std::string outline_entry(const std::string& key, const char* kind, const std::string& value) {
    return key + " " + kind + " " + value;
}

std::string describe_answer(const engine_answer& answer) {
    std::string detail = answer.detail.empty() ? "" : " (" + answer.detail + ")";
    switch (answer.kind) {
        case answer_kind::error: return "error: " + printable(answer.text);
        case answer_kind::boolean: return std::string("boolean ") + (answer.truth ? "true" : "false") + detail;
        case answer_kind::number: return "number " + number_text(answer.number) + detail;
        case answer_kind::string: return "string \"" + printable(answer.text) + "\"" + detail;
        case answer_kind::nodes: break;
    }
    return describe_nodes(answer) + detail;
}

}  // namespace conformance
