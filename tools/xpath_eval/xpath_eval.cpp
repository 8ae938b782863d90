// xpath-eval: evaluates an expression against the root element of an XML
// file (or the document itself) with the engine the launcher uses, and
// prints what happened.
//   xpath-eval [--lexemes] [--actions | --action-names] [--context document|root-element]
//              [--var NAME=VALUE]... FILE EXPRESSION
// Exit status: 0 status ok, 1 any other status, 2 usage error, 3 FILE not loaded.
// After "error:" comes "reason:", the name of the error (see help_text).
#include <getopt.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <tinyxml.h>

#include "document_guard/guarded_load.hpp"
#include "xpath/xpath.hpp"

namespace {

constexpr int usage_error = 2;
constexpr int load_error = 3;

const char usage_line[] =
    "usage: xpath-eval [--lexemes] [--actions | --action-names] [--context document|root-element]\n"
    "                  [--var NAME=VALUE]... FILE EXPRESSION\n";

const char help_text[] =
    "Evaluates EXPRESSION against the root element of the XML document FILE (\"-\"\n"
    "reads it from standard input), or against the document itself, and prints,\n"
    "one item a line and in this order:\n"
    "  lexeme: <kind code> <text>                     with --lexemes\n"
    "  action: <rule> <sub-kind> <variant>[ <literal>] with --actions\n"
    "  status: ok | syntax | overflow | execution | unbalanced\n"
    "  error: <code or syntax error text>             for execution and syntax\n"
    "  reason: <name>                                 right after error: the code's name\n"
    "                   (e.g. function_failed); for syntax, the syntax error's\n"
    "                   name (e.g. unclosed_predicate; expression_not_decoded for\n"
    "                   an empty expression, whose text is \"main level\")\n"
    "  kind: bool | string | int | double | nodes | none\n"
    "  count: <n>, then node: <type> <value> a line   for nodes; the types: element\n"
    "                   (value: its name), text, comment (their text), attribute\n"
    "                   (name=value), root (the root node; value empty), other\n"
    "                   (a processing instruction: ?target data?)\n"
    "  int: <integer conversion>\n"
    "  string: <string conversion>                    always the last line\n"
    "\n"
    "Options:\n"
    "  --lexemes        print the lexeme chain after refinement\n"
    "  --actions        print the action log in recording order\n"
    "  --action-names   as --actions, each line followed by two spaces, \"# \" and the\n"
    "                   names of its rule and form; the numbers stay as --actions\n"
    "                   prints them\n"
    "  --context document | root-element\n"
    "                   the context node: the document, which is then the root\n"
    "                   node (comments and processing instructions beside the\n"
    "                   root element are reached), or the root element under a\n"
    "                   temporary root node (the default)\n"
    "  --var NAME=VALUE binds the string VALUE to $NAME (repeatable; a later\n"
    "                   binding of a name replaces the earlier one)\n"
    "  -h, --help       print this help and exit\n"
    "\n"
    "Exit status: 0 status ok, 1 any other status, 2 usage error, 3 FILE not loaded\n"
    "(the reason on standard error; a parse error with its row and column).\n";

struct options {
    bool help = false;
    bool lexemes = false;
    bool actions = false;
    bool action_names = false;
    bool document_context = false;
    xpath::variable_bindings variables;
    std::string file;
    std::string expression;
};

bool usage_problem(const std::string& problem) {
    std::fprintf(stderr, "xpath-eval: %s\n", problem.c_str());
    return false;
}

bool parse_context(const std::string& value, options& parsed) {
    if (value != "document" && value != "root-element")
        return usage_problem("--context takes document or root-element, not '" + value + "'");
    parsed.document_context = value == "document";
    return true;
}

// NAME=VALUE: the name up to the first '=', which must be there; the value may be empty.
bool parse_variable(const std::string& binding, options& parsed) {
    std::size_t equals = binding.find('=');
    if (equals == std::string::npos || equals == 0)
        return usage_problem("--var takes NAME=VALUE, not '" + binding + "'");
    parsed.variables.bind_string(binding.substr(0, equals), binding.substr(equals + 1));
    return true;
}

// Options come before FILE ("+"), so that an EXPRESSION such as "-1" is not
// taken for one; ":" lets a missing value be told from an unknown option.
bool parse_options(int argc, char** argv, options& parsed) {
    enum { lexemes_option = 1, actions_option, action_names_option, context_option, var_option };
    static const option long_options[] = {
        {"lexemes", no_argument, nullptr, lexemes_option},
        {"actions", no_argument, nullptr, actions_option},
        {"action-names", no_argument, nullptr, action_names_option},
        {"context", required_argument, nullptr, context_option},
        {"var", required_argument, nullptr, var_option},
        {"help", no_argument, nullptr, 'h'},
        {nullptr, 0, nullptr, 0},
    };
    opterr = 0;
    for (int choice; (choice = getopt_long(argc, argv, "+:h", long_options, nullptr)) != -1;) {
        switch (choice) {
            case 'h': parsed.help = true; return true;
            case lexemes_option: parsed.lexemes = true; break;
            case actions_option: parsed.actions = true; break;
            case action_names_option: parsed.actions = parsed.action_names = true; break;
            case context_option:
                if (!parse_context(optarg, parsed)) return false;
                break;
            case var_option:
                if (!parse_variable(optarg, parsed)) return false;
                break;
            case ':': return usage_problem(std::string("option '") + argv[optind - 1] + "' needs a value");
            default: return usage_problem(std::string("unknown option '") + argv[optind - 1] + "'");
        }
    }
    if (argc - optind > 2) return usage_problem(std::string("unexpected argument '") + argv[optind + 2] + "'");
    if (argc - optind < 2) return usage_problem("FILE and EXPRESSION are required");
    parsed.file = argv[optind];
    parsed.expression = argv[optind + 1];
    return true;
}

// "RelativeLocationPath step_slash_path", "LocalPart"; "?" for a number that
// no rule has, and the rule's name with "?" for a form it does not record.
std::string action_names(std::int32_t rule, std::int32_t sub_kind) {
    const char* rule_text = xpath::rule_name(rule);
    if (!rule_text) return "?";
    const char* form_text = xpath::form_name(rule, sub_kind);
    if (!form_text) return std::string(rule_text) + " ?";
    return *form_text ? std::string(rule_text) + " " + form_text : rule_text;
}

void print_lexemes(const xpath::evaluation_trace& trace) {
    for (const xpath::lexeme_record& l : trace.lexemes) std::printf("lexeme: %d %s\n", l.kind_code, l.text.c_str());
}

void print_actions(const xpath::evaluation_trace& trace, bool with_names) {
    for (const xpath::action_record& action : trace.actions) {
        std::printf("action: %d %d %d", action.rule, action.sub_kind, action.variant);
        if (!action.literal.empty()) std::printf(" %s", action.literal.c_str());
        if (with_names) std::printf("  # %s", action_names(action.rule, action.sub_kind).c_str());
        std::printf("\n");
    }
}

void print_node(const xpath::result_node& entry) {
    if (const TiXmlAttribute* attribute = entry.attribute) {
        std::printf("node: attribute %s=%s\n", attribute->Name(), attribute->Value());
        return;
    }
    const TiXmlNode* node = entry.node;
    if (node->ToDocument()) {
        std::printf("node: root \n");  // the root node has no name; a document keeps its file name there
        return;
    }
    const char* type = node->ToElement() ? "element" : node->ToText() ? "text" : node->ToComment() ? "comment" : "other";
    std::printf("node: %s %s\n", type, node->Value());
}

// "reason: <name>" after the error line: the execution code's name (or
// "unlisted_code" for a number that is none), or the syntax error's name.
void print_reason(const xpath::evaluation_result& result) {
    if (result.status == xpath::eval_status::status_execution) {
        const char* name = xpath::execution_code_name(result.error_code);
        std::printf("reason: %s\n", name ? name : "unlisted_code");
    }
    if (result.status == xpath::eval_status::status_syntax)
        std::printf("reason: %s\n", xpath::syntax_error_name(result.error_text.c_str()));
}

void print_result(const xpath::evaluation_result& result) {
    std::printf("status: %s\n", xpath::status_name(result.status));
    if (result.status == xpath::eval_status::status_execution) std::printf("error: %d\n", result.error_code);
    if (result.status == xpath::eval_status::status_syntax) std::printf("error: %s\n", result.error_text.c_str());
    print_reason(result);
    std::printf("kind: %s\n", xpath::kind_name(result.kind));
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

// TinyXML's text for a parse error, with its row and column where it knows them.
std::string parse_error(const TiXmlDocument& document) {
    std::string text = document.ErrorDesc();
    if (document.ErrorRow() <= 0) return text;
    return text + " (row " + std::to_string(document.ErrorRow()) + ", column " + std::to_string(document.ErrorCol()) +
           ")";
}

// Why the guarded load did not load the document; empty when it did.
std::string load_failure(const document_guard::load_report& report, const TiXmlDocument& document) {
    switch (report.outcome) {
        case document_guard::load_outcome::loaded: return "";
        case document_guard::load_outcome::read_failed: return std::strerror(report.read_error);
        case document_guard::load_outcome::too_deep:
            return "the document nests too deeply (gave up at depth " + std::to_string(report.gave_up_depth) +
                   ", the limit is " + std::to_string(document_guard::document_depth_limit) + ")";
        case document_guard::load_outcome::not_parsed: return parse_error(document);
    }
    return "not loaded";
}

// Standard input may be a pipe, which neither the guard's scan nor TinyXML
// can rewind: it is copied to a temporary file, which then goes through the
// same guarded load as a named file. Null (errno set) when that fails.
std::FILE* copy_of_standard_input() {
    std::FILE* copy = std::tmpfile();
    if (!copy) return nullptr;
    std::vector<char> chunk(4096);
    for (std::size_t got; (got = std::fread(chunk.data(), 1, chunk.size(), stdin)) > 0;) {
        if (std::fwrite(chunk.data(), 1, got, copy) != got) break;
    }
    if (!std::ferror(stdin) && !std::ferror(copy)) return copy;
    std::fclose(copy);
    errno = EIO;
    return nullptr;
}

// Loads FILE ("-": standard input) through the document guard; false (with
// the file and the reason on standard error) when it cannot be loaded.
bool load_document(const std::string& file, TiXmlDocument& document) {
    bool from_input = file == "-";
    std::string reason = from_input ? "" : not_a_regular_file(file);
    if (reason.empty()) {
        std::FILE* stream = from_input ? copy_of_standard_input() : std::fopen(file.c_str(), "rb");
        if (!stream) {
            reason = std::strerror(errno);
        } else {
            reason = load_failure(document_guard::load_guarded(document, stream), document);
            std::fclose(stream);
        }
    }
    if (!reason.empty())
        std::fprintf(stderr, "xpath-eval: cannot load %s: %s\n", from_input ? "standard input" : file.c_str(),
                     reason.c_str());
    return reason.empty();
}

}  // namespace

int main(int argc, char** argv) {
    options parsed;
    if (!parse_options(argc, argv, parsed)) {
        std::fprintf(stderr, "%sxpath-eval --help tells more\n", usage_line);
        return usage_error;
    }
    if (parsed.help) {
        std::printf("%s%s", usage_line, help_text);
        return 0;
    }
    TiXmlDocument document;
    if (!load_document(parsed.file, document)) return load_error;
    xpath::evaluation_trace trace;
    TiXmlNode* context = parsed.document_context ? static_cast<TiXmlNode*>(&document) : document.RootElement();
    xpath::evaluation_result result = xpath::evaluate(context, parsed.expression.c_str(), &trace, &parsed.variables);
    if (parsed.lexemes) print_lexemes(trace);
    if (parsed.actions) print_actions(trace, parsed.action_names);
    print_result(result);
    return result.status == xpath::eval_status::status_ok ? 0 : 1;
}
