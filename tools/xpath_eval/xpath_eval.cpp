// xpath-eval: evaluates an expression against the root element of an XML
// file with the engine the launcher uses, and prints what happened.
//   xpath-eval [--lexemes] [--actions] FILE EXPRESSION
// Exit status: 0 status ok, 1 any other status, 2 usage error, 3 FILE not loaded.
// After "error:" comes "reason:", which names the error (reason_usage below).
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include <tinyxml.h>

#include "document_guard/guarded_load.hpp"
#include "xpath/evaluation/execution_code.hpp"
#include "xpath/evaluation/path_evaluator.hpp"
#include "xpath/front_end/xpath_errors.hpp"

namespace {

constexpr int usage_error = 2;
constexpr int load_error = 3;

struct options {
    bool lexemes = false;
    bool actions = false;
    std::string file;
    std::string expression;
};

bool parse_options(int argc, char** argv, options& parsed) {
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "--lexemes" && positional == 0) {
            parsed.lexemes = true;
        } else if (argument == "--actions" && positional == 0) {
            parsed.actions = true;
        } else if (positional == 0 && argument.rfind("--", 0) == 0) {
            std::fprintf(stderr, "xpath-eval: unknown option '%s'\n", argument.c_str());
            return false;
        } else if (positional < 2) {
            (positional++ == 0 ? parsed.file : parsed.expression) = argument;
        } else {
            std::fprintf(stderr, "xpath-eval: unexpected argument '%s'\n", argument.c_str());
            return false;
        }
    }
    if (positional == 2) return true;
    std::fprintf(stderr, "xpath-eval: FILE and EXPRESSION are required\n");
    return false;
}

const char* status_name(xpath::eval_status status) {
    switch (status) {
        case xpath::eval_status::status_ok: return "ok";
        case xpath::eval_status::status_syntax: return "syntax";
        case xpath::eval_status::status_overflow: return "overflow";
        case xpath::eval_status::status_execution: return "execution";
        case xpath::eval_status::status_unbalanced: return "unbalanced";
    }
    return "?";
}

const char* kind_name(xpath::value_kind kind) {
    switch (kind) {
        case xpath::value_kind::kind_bool: return "bool";
        case xpath::value_kind::kind_string: return "string";
        case xpath::value_kind::kind_int: return "int";
        case xpath::value_kind::kind_double: return "double";
        case xpath::value_kind::kind_nodes: return "nodes";
        case xpath::value_kind::kind_none: return "none";
    }
    return "?";
}

void print_lexemes(const xpath::lexeme_chain& chain) {
    for (const xpath::lexeme* l = chain.first(); l && l != &chain.sentinel; l = l->next)
        std::printf("lexeme: %d %s\n", xpath::code_of(l->kind), l->text.c_str());
}

void print_actions(const xpath::action_log& log) {
    for (std::int32_t i = 0; i < log.action_count(); ++i) {
        xpath::recorded_action action = log.read_action(i);
        std::printf("action: %d %d %d", action.rule, action.sub_kind, action.variant);
        if (!action.literal.empty()) std::printf(" %s", action.literal.c_str());
        std::printf("\n");
    }
}

void print_node(const xpath::node_collection& nodes, std::uint32_t i) {
    if (nodes.is_attribute(i)) {
        const TiXmlAttribute* attribute = nodes.attribute_at(i);
        std::printf("node: attribute %s=%s\n", attribute->Name(), attribute->Value());
        return;
    }
    const TiXmlNode* node = nodes.node_at(i);
    const char* type = node->ToElement() ? "element" : node->ToText() ? "text" : node->ToComment() ? "comment" : "other";
    std::printf("node: %s %s\n", type, node->Value());
}

const char reason_usage[] =
    "reason: <name> follows error: for status execution, the code's name (e.g. division_by_zero);\n"
    "        for status syntax, expression_not_decoded for \"main level\", else unnamed_syntax_error.\n";

// "reason: <name>" after the error line: the execution code's name (or
// "unlisted_code" for a number that is none), or the syntax error's name.
void print_reason(const xpath::path_evaluator& evaluator) {
    if (evaluator.status == xpath::eval_status::status_execution) {
        const char* name = xpath::execution_code_name(evaluator.caught_code);
        std::printf("reason: %s\n", name ? name : "unlisted_code");
    }
    if (evaluator.status == xpath::eval_status::status_syntax)
        std::printf("reason: %s\n", xpath::syntax_error_name(evaluator.caught_text.c_str()));
}

void print_result(xpath::path_evaluator& evaluator, xpath::path_value& result) {
    std::printf("status: %s\n", status_name(evaluator.status));
    if (evaluator.status == xpath::eval_status::status_execution) std::printf("error: %d\n", evaluator.caught_code);
    if (evaluator.status == xpath::eval_status::status_syntax) std::printf("error: %s\n", evaluator.caught_text.c_str());
    print_reason(evaluator);
    std::printf("kind: %s\n", kind_name(result.kind));
    if (result.kind == xpath::value_kind::kind_nodes) {
        std::printf("count: %u\n", result.nodes.count());
        for (std::uint32_t i = 0; i < result.nodes.count(); ++i) print_node(result.nodes, i);
    }
    std::printf("int: %d\n", result.to_int());
    std::printf("string: %s\n", result.to_string().c_str());
}

// Only a regular file is read: a directory or a device would not end, or
// would not read as a document. Empty when it is one, else the reason.
std::string not_a_regular_file(const std::string& file) {
    std::error_code error;
    std::filesystem::file_status status = std::filesystem::status(file, error);
    if (error) return error.message();
    switch (status.type()) {
        case std::filesystem::file_type::regular: return "";
        case std::filesystem::file_type::directory: return "is a directory";
        default: return "is not a regular file";
    }
}

// Why the guarded load did not load the document; empty when it did.
std::string load_failure(const document_guard::load_report& report, const TiXmlDocument& document) {
    switch (report.outcome) {
        case document_guard::load_outcome::loaded: return "";
        case document_guard::load_outcome::read_failed: return std::strerror(report.read_error);
        case document_guard::load_outcome::too_deep:
            return "the document nests too deeply (gave up at depth " + std::to_string(report.gave_up_depth) +
                   ", the limit is " + std::to_string(document_guard::document_depth_limit) + ")";
        case document_guard::load_outcome::not_parsed: return document.ErrorDesc();
    }
    return "not loaded";
}

// Loads FILE through the document guard; false (with the file and the reason
// on standard error) when it cannot be loaded.
bool load_document(const std::string& file, TiXmlDocument& document) {
    std::string reason = not_a_regular_file(file);
    if (reason.empty()) {
        std::FILE* stream = std::fopen(file.c_str(), "rb");
        if (!stream) {
            reason = std::strerror(errno);
        } else {
            reason = load_failure(document_guard::load_guarded(document, stream), document);
            std::fclose(stream);
        }
    }
    if (!reason.empty()) std::fprintf(stderr, "xpath-eval: cannot load %s: %s\n", file.c_str(), reason.c_str());
    return reason.empty();
}

}  // namespace

int main(int argc, char** argv) {
    options parsed;
    if (!parse_options(argc, argv, parsed)) {
        std::fprintf(stderr, "usage: xpath-eval [--lexemes] [--actions] FILE EXPRESSION\n");
        std::fputs(reason_usage, stderr);
        return usage_error;
    }
    TiXmlDocument document;
    if (!load_document(parsed.file, document)) return load_error;
    xpath::path_evaluator evaluator(document.RootElement(), parsed.expression.c_str());
    xpath::path_value result = evaluator.evaluate();
    if (parsed.lexemes) print_lexemes(*evaluator.walker);
    if (parsed.actions) print_actions(evaluator.actions);
    print_result(evaluator, result);
    return evaluator.status == xpath::eval_status::status_ok ? 0 : 1;
}
