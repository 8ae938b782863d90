// xpath-eval: evaluates an expression against the root element of an XML
// file with the engine the launcher uses, and prints what happened.
//   xpath-eval [--lexemes] [--actions] FILE EXPRESSION
// Exit status: 0 status ok, 1 any other status, 2 usage error, 3 FILE not loaded.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include <tinyxml.h>

#include "document_guard/guarded_load.hpp"
#include "xpath/xpath.hpp"

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

void print_lexemes(const xpath::evaluation_trace& trace) {
    for (const xpath::lexeme_record& l : trace.lexemes) std::printf("lexeme: %d %s\n", l.kind_code, l.text.c_str());
}

void print_actions(const xpath::evaluation_trace& trace) {
    for (const xpath::action_record& action : trace.actions) {
        std::printf("action: %d %d %d", action.rule, action.sub_kind, action.variant);
        if (!action.literal.empty()) std::printf(" %s", action.literal.c_str());
        std::printf("\n");
    }
}

void print_node(const xpath::result_node& entry) {
    if (const TiXmlAttribute* attribute = entry.attribute) {
        std::printf("node: attribute %s=%s\n", attribute->Name(), attribute->Value());
        return;
    }
    const TiXmlNode* node = entry.node;
    const char* type = node->ToElement() ? "element" : node->ToText() ? "text" : node->ToComment() ? "comment" : "other";
    std::printf("node: %s %s\n", type, node->Value());
}

void print_result(const xpath::evaluation_result& result) {
    std::printf("status: %s\n", status_name(result.status));
    if (result.status == xpath::eval_status::status_execution) std::printf("error: %d\n", result.error_code);
    if (result.status == xpath::eval_status::status_syntax) std::printf("error: %s\n", result.error_text.c_str());
    std::printf("kind: %s\n", kind_name(result.kind));
    if (result.kind == xpath::value_kind::kind_nodes) {
        std::printf("count: %zu\n", result.nodes.size());
        for (const xpath::result_node& entry : result.nodes) print_node(entry);
    }
    std::printf("int: %d\n", result.as_int);
    std::printf("string: %s\n", result.as_string.c_str());
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
        return usage_error;
    }
    TiXmlDocument document;
    if (!load_document(parsed.file, document)) return load_error;
    xpath::evaluation_trace trace;
    xpath::evaluation_result result = xpath::evaluate(document.RootElement(), parsed.expression.c_str(), &trace);
    if (parsed.lexemes) print_lexemes(trace);
    if (parsed.actions) print_actions(trace);
    print_result(result);
    return result.status == xpath::eval_status::status_ok ? 0 : 1;
}
