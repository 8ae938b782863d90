// Families of the function library: node-set functions, string functions,
// substring's rounding, characters of UTF-8 text, the context node as the
// default argument, boolean and number functions, lang, node tests that look
// like calls, and the calls and forms that stay errors.
#include "expression_family.hpp"
#include "expression_pieces.hpp"

namespace conformance {
namespace {

std::string node_set_functions(random_source& random) {
    static const char* const forms[] = {
        "last()", "position()", "count(%)", "count(%/*)", "*[position() = last()]", "count(*[last()])", "id('1')",
        "count(id('x 1'))", "%[last()]", "count(//%[position() = 1])", "*[last()][position() = 1]",
        "%[position() mod 2 = 0]", "sum(*/@*[position() = last()])",
    };
    std::string form = one_of(random, forms);
    return fill(form, {name_test(random)});
}

const char* const string_arguments[] = {
    "'abc'", "'a b c'", "''", "'  padded  text '", "'b'", "'bc'", "'x'", "'abcabc'", "@id", "child::text()", "'12'",
    "'a\tb\nc'", "'ABC'", "'.'", "'c'",
};

std::string string_functions(random_source& random) {
    static const char* const forms[] = {
        "string(%)", "concat(%, %)", "concat(%, %, %)", "starts-with(%, %)", "contains(%, %)",
        "substring-before(%, %)", "substring-after(%, %)", "string-length(%)", "normalize-space(%)",
        "translate(%, %, %)", "translate(%, 'abc', 'AB')", "concat(%, 1, true())",
    };
    std::string form = one_of(random, forms);
    return fill(form,
                {one_of(random, string_arguments), one_of(random, string_arguments), one_of(random, string_arguments)});
}

std::string substring_rounding(random_source& random) {
    static const char* const numbers[] = {
        "0", "1", "1.5", "2.6", "-1", "0 div 0", "1 div 0", "-1 div 0", "3", "2.5", "-0.5", "0.5", "1.49", "10", "-42",
    };
    static const char* const texts[] = {"'12345'", "'abc'", "''", "'a'"};
    std::string text = one_of(random, texts);
    std::string start = one_of(random, numbers);
    if (random.percent(30)) return fill("substring(%, %)", {text, start});
    return fill("substring(%, %, %)", {text, start, one_of(random, numbers)});
}

// Strings of several UTF-8 characters, and text nodes that hold them.
std::string characters(random_source& random) {
    static const char* const texts[] = {
        "'é'", "'Größe'", "'文書'", "'naïve café'", "'aé文b'", "child::text()", "*/text()",
    };
    static const char* const forms[] = {
        "string-length(%)", "substring(%, 2, 3)", "substring(%, 2)", "translate(%, 'é文ö', 'E W')",
        "substring-before(%, 'é')", "substring-after(%, 'ö')", "substring(%, 1, 1)", "contains(%, 'ß')",
        "string-length(normalize-space(%))", "substring(%, 0, 2)",
    };
    std::string form = one_of(random, forms);
    return fill(form, {one_of(random, texts)});
}

// Functions called without their argument, on nodes of several kinds.
std::string context_defaults(random_source& random) {
    static const char* const forms[] = {
        "name()", "local-name()", "namespace-uri()", "count(@*[string() = '1'])", "count(child::text()[number() = 7])",
        "count(*[name() = 'a'])", "count(*/@*[string-length() = 1])", "count(@*[normalize-space() = 'a b'])",
        "*/@*[local-name() = 'id']", "child::text()[string-length() > 1]", "count(*[local-name() = 'b'])",
        "count(*/text()[number() > 1])", "@*[number() = 1]",
    };
    return one_of(random, forms);
}

std::string boolean_functions(random_source& random) {
    static const char* const values[] = {"a", "zz", "0", "1", "''", "'x'", "@id", "true()", "false()", "0 div 0"};
    static const char* const forms[] = {"boolean(%)", "not(%)", "not(not(%))", "true()", "false()", "not(%) = not(%)"};
    std::string form = one_of(random, forms);
    return fill(form, {one_of(random, values), one_of(random, values)});
}

std::string number_functions(random_source& random) {
    static const char* const numbers[] = {
        "2.5", "-2.5", "0.5", "-0.5", "-0.4", "1.5", "0 div 0", "1 div 0", "-0", "3", "-3.7", "2147483648.5", "-1.5",
        "0.4999", "4.5", "'7.5'", "@id",
    };
    static const char* const forms[] = {
        "floor(%)", "ceiling(%)", "round(%)", "1 div round(%)", "1 div ceiling(%)", "number(%)", "sum(@*)",
        "sum(*/@n)", "sum(child::text())", "sum(*/@*)", "sum(zz)", "floor(%) + ceiling(%)",
    };
    std::string form = one_of(random, forms);
    return fill(form, {one_of(random, numbers), one_of(random, numbers)});
}

std::string lang_function(random_source& random) {
    static const char* const languages[] = {"'en'", "'EN'", "'en-US'", "'de'", "''", "'fr'", "'english'", "'en-'"};
    static const char* const forms[] = {
        "lang(%)", "count(*[lang(%)])", "count(//*[lang(%)])", "//b[lang(%)]", "count(*/text()[lang(%)])",
        "count(@*[lang(%)])",
    };
    std::string form = one_of(random, forms);
    return fill(form, {one_of(random, languages)});
}

// text(), node(), comment() and processing-instruction() where a call could stand.
std::string node_test_names(random_source& random) {
    static const char* const forms[] = {
        "text() = '7'", "text() = %", "count(text())", "node() = 'x'", "comment() = 'c'", "text()", "text() != '7'",
        "a/text() = %", "count(node())", "comment()", "count(processing-instruction())", "text() > 1",
    };
    static const char* const values[] = {"'x'", "'abc'", "7", "'12'", "2.5"};
    std::string form = one_of(random, forms);
    return fill(form, {one_of(random, values)});
}

// Calls and forms that are errors whatever the engine.
std::string still_errors(random_source& random) {
    static const char* const forms[] = {
        "foo()", "count()", "count(a, b)", "concat('a')", "substring('a')", "not()", "true(1)", "$v", "$v + 1",
        "string(1, 2)", "lang()", "(1)/a", "1 | a", "'x' | a", "round()", "contains('a')", "starts-with()",
        "translate('a', 'b')", "sum(1)", "count(1)", "position(1)", "last(1)", "name(1)", "unknown-function(a)",
    };
    return one_of(random, forms);
}

}  // namespace

std::vector<expression_family> function_families() {
    document_shape utf8;
    utf8.names = name_pool::utf8;
    document_shape with_languages;
    with_languages.languages = true;
    return {
        {"functions.node_set", {}, node_set_functions},       {"functions.strings", {}, string_functions},
        {"functions.substring", {}, substring_rounding},      {"functions.characters", utf8, characters},
        {"functions.context_defaults", {}, context_defaults}, {"functions.boolean", {}, boolean_functions},
        {"functions.number", {}, number_functions},           {"functions.lang", with_languages, lang_function},
        {"functions.node_test_names", {}, node_test_names},   {"errors.still_errors", {}, still_errors},
    };
}

}  // namespace conformance
