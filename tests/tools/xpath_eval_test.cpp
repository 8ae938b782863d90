// xpath-eval as a user runs it: the output lines in their order, the error
// and reason lines, the exit codes, the help, standard input and parse errors.
#include <gtest/gtest.h>

#include <sstream>

#include "support/program_run.hpp"
#include "support/temporary_device.hpp"

namespace {

class xpath_eval : public ::testing::Test {
protected:
    test_support::temporary_device scratch;

    test_support::program_run run(const std::vector<std::string>& arguments, const std::string& input_file = "") {
        return test_support::run_program(XPATH_EVAL, arguments, scratch.folder(), input_file);
    }

    std::string settings_file() {
        scratch.write_file("settings.xml",
                           "<?xml version='1.0'?>\n<Settings version='3'><Language>7</Language></Settings>\n");
        return scratch.host("settings.xml");
    }
};

}  // namespace

TEST_F(xpath_eval, prints_lexemes_actions_and_the_result_in_order) {
    test_support::program_run r = run({"--lexemes", "--actions", settings_file(), "/Settings/Language/text()"});
    EXPECT_EQ(r.exit_code, 0);
    std::istringstream lines(r.out);
    std::vector<std::string> kinds;
    int actions = 0;
    for (std::string line; std::getline(lines, line);) {
        std::string kind = line.substr(0, line.find(':'));
        if (kind == "action") ++actions;
        if (kinds.empty() || kinds.back() != kind) kinds.push_back(kind);
    }
    EXPECT_EQ(kinds, (std::vector<std::string>{"lexeme", "action", "status", "kind", "count", "node", "int", "string"}));
    EXPECT_EQ(actions, 33);
    EXPECT_EQ(r.out.find("lexeme: 6 /\nlexeme: 28 Settings\n"), 0u);
    EXPECT_NE(r.out.find("\naction: 208 0 0 Language\n"), std::string::npos);
    EXPECT_NE(r.out.find("\naction: 7 29 57\n"), std::string::npos);
    EXPECT_NE(r.out.find("status: ok\nkind: nodes\ncount: 1\nnode: text 7\nint: 7\nstring: 7\n"), std::string::npos);
}

TEST_F(xpath_eval, outcomes_and_exit_codes) {
    std::string file = settings_file();
    struct row {
        std::vector<std::string> arguments;
        int exit_code;
        const char* out;
    };
    const row rows[] = {
        {{file, "/Settings/@version"},
         0, "status: ok\nkind: nodes\ncount: 1\nnode: attribute version=3\nint: 3\nstring: 3\n"},
        {{file, "1 + 2.0"}, 0, "status: ok\nkind: double\nint: 3\nstring: 3\n"},
        {{file, "'a' = 'a'"}, 0, "status: ok\nkind: bool\nint: 1\nstring: true\n"},
        {{file, "="}, 1,
         "status: syntax\nerror: missing operand: expected an operand, found '=' at column 1\nreason: missing_operand\n"
         "kind: none\nint: 0\nstring: \n"},
        {{file, "$v"}, 1, "status: execution\nerror: 12\nreason: no_execution\nkind: none\nint: 0\nstring: \n"},
        {{file, "1 div 0"}, 0, "status: ok\nkind: double\nint: 2147483647\nstring: Infinity\n"},
        {{file, "-1 div 0"}, 0, "status: ok\nkind: double\nint: -2147483648\nstring: -Infinity\n"},
        {{file, "0 div 0"}, 0, "status: ok\nkind: double\nint: 0\nstring: NaN\n"},
        {{file, "p:*"}, 1, "status: execution\nerror: -2\nreason: not_yet_evaluated\nkind: none\nint: 0\nstring: \n"},
        {{file, "/"}, 0, "status: ok\nkind: nodes\ncount: 1\nnode: root \nint: 7\nstring: 7\n"},
        {{"--context", "root-element", file, "name(.)"}, 0, "status: ok\nkind: string\nint: 0\nstring: Settings\n"},
        // The document as context: the declaration is no node.
        {{"--context", "document", file, "node()"}, 0,
         "status: ok\nkind: nodes\ncount: 1\nnode: element Settings\nint: 7\nstring: 7\n"},
        {{"--context", "document", file, "."}, 0, "status: ok\nkind: nodes\ncount: 1\nnode: root \nint: 7\nstring: 7\n"},
        {{"--context", "elsewhere", file, "."}, 2, ""},
        {{"--var", "who=O'Brien \"Bob\"", file, "concat('<', $who, '>')"}, 0,
         "status: ok\nkind: string\nint: 0\nstring: <O'Brien \"Bob\">\n"},
        {{"--var", "a=1", "--var", "a=2=3", "--var", "b=", file, "concat($a, '|', $b)"}, 0,
         "status: ok\nkind: string\nint: 2\nstring: 2=3|\n"},  // the later binding, split at the first '='
        {{"--var", "a", file, "1"}, 2, ""},
        {{"--var", "=v", file, "1"}, 2, ""},
        {{"--context"}, 2, ""},  // no value
        {{file, "(((((((((((((((((1)))))))))))))))))"}, 1, "status: overflow\nkind: none\nint: 0\nstring: \n"},
        {{file}, 2, ""},
        {{"--verbose", file, "1"}, 2, ""},
        {{file, "1", "2"}, 2, ""},
        {{scratch.host("missing.xml"), "1"}, 3, ""},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.arguments.back());
        test_support::program_run result = run(r.arguments);
        EXPECT_EQ(result.exit_code, r.exit_code);
        EXPECT_EQ(result.out, r.out);
        if (r.exit_code >= 2) {
            EXPECT_FALSE(result.err.empty());  // a usage or load error says why
        }
    }
}

TEST_F(xpath_eval, help_standard_input_and_parse_errors) {
    std::string file = settings_file();
    scratch.write_file("broken.xml", "<Settings>\n  <Language>7</Lang>\n</Settings>\n");
    std::string broken = scratch.host("broken.xml");
    struct row {
        std::vector<std::string> arguments;
        std::string input_file;
        int exit_code;
        const char* out_start;  // the start of standard output
        const char* err;        // a part of standard error
    };
    const row rows[] = {
        {{"--help"}, "", 0, "usage: xpath-eval ", ""},
        {{"-h", file, "1"}, "", 0, "usage: xpath-eval ", ""},
        {{"-", "/Settings/Language"}, file, 0, "status: ok\nkind: nodes\ncount: 1\nnode: element Language\n", ""},
        {{file, "-1"}, "", 0, "status: ok\nkind: int\nint: -1\n", ""},  // an expression, not an option
        {{broken, "1"}, "", 3, "", ": Error reading end tag. (row 2, column 14)"},  // at "</Lang>"
        {{"-", "1"}, broken, 3, "", "cannot load standard input: Error reading end tag. (row 2, column 14)"},
        {{"--lexemes", "--verbose", file, "1"}, "", 2, "", "unknown option '--verbose'"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.arguments.front() + " " + r.err);
        test_support::program_run result = run(r.arguments, r.input_file);
        EXPECT_EQ(result.exit_code, r.exit_code);
        EXPECT_EQ(result.out.rfind(r.out_start, 0), 0u) << result.out;
        EXPECT_NE(result.err.find(r.err), std::string::npos) << result.err;
        if (r.exit_code == 0) {
            EXPECT_EQ(result.err, "");
        }
    }
    EXPECT_NE(run({broken, "1"}).err.find(broken), std::string::npos);  // the message names FILE
}

// --action-names adds names after the numbers and changes nothing before them.
TEST_F(xpath_eval, action_names_follow_the_numbers_unchanged) {
    std::string file = settings_file();
    const char* expression = "count(/Settings/Language[. > 2] | .//@version) - -1";
    std::string numbers = run({"--actions", file, expression}).out;
    std::string named = run({"--action-names", file, expression}).out;
    std::istringstream lines(named);
    std::string stripped;
    int with_names = 0;
    for (std::string line; std::getline(lines, line);) {
        std::size_t names = line.rfind("  # ");
        if (line.rfind("action: ", 0) == 0 && names != std::string::npos) {
            line.erase(names);
            ++with_names;
        }
        stripped += line + "\n";
    }
    EXPECT_EQ(stripped, numbers);
    EXPECT_EQ(with_names, 87);  // every action line carries names
    struct row { const char* line; };
    const row rows[] = {
        {"\naction: 3 4 44  # RelativeLocationPath step_double_slash_path\n"},
        {"\naction: 208 0 0 Language  # LocalPart\n"},
        {"\naction: 16 1 1  # FunctionCall with_arguments\n"},
        {"\naction: 5 18 0  # AxisSpecifier attribute_axis\n"},
        {"\naction: 12 0 0  # AbbreviatedStep dot\n"},
        {"\naction: 27 53 0  # UnaryExpr negation\n"},
        {"\naction: 14 0 0  # Expr\n"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.line);
        EXPECT_NE(named.find(r.line), std::string::npos) << named;
    }
}

TEST_F(xpath_eval, files_that_cannot_be_loaded_exit_3_naming_file_and_reason) {
    std::string deep, deepest;
    for (int i = 0; i < 64; ++i) deep = "<a>" + deep + "</a>";
    for (int i = 0; i < 100000; ++i) deepest += "<a>";
    scratch.write_file("deep.xml", deep);
    scratch.write_file("deeper.xml", "<b>" + deep + "</b>");
    scratch.write_file("deepest.xml", deepest);
    scratch.write_file("cut.xml", "<?xml version='1.0'?><a>x\xdd");  // ends inside a UTF-8 sequence
    scratch.make_folder("folder");
    struct row {
        std::string file;
        int exit_code;
        const char* reason;  // on standard error, after the file's name
    };
    const row rows[] = {
        {scratch.host("deep.xml"), 0, ""},
        {scratch.host("deeper.xml"), 3, ": the document nests too deeply (gave up at depth 65"},
        {scratch.host("deepest.xml"), 3, ": the document nests too deeply (gave up at depth 65"},
        {scratch.host("cut.xml"), 3, ": Error reading Element value."},
        {scratch.host("folder"), 3, ": is a directory"},
        {"/dev/zero", 3, ": is not a regular file"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.file);
        test_support::program_run result = run({r.file, "count(//a)"});
        EXPECT_EQ(result.exit_code, r.exit_code);
        EXPECT_EQ(result.err.find("xpath-eval: cannot load " + r.file + r.reason) == 0, r.exit_code == 3) << result.err;
    }
}
