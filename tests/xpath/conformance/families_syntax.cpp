// Families of the front end: malformed expressions of each kind, UTF-8
// names, number literals beyond 32 bits and with fractions, nesting up to
// the sixteen levels every expression may use, and names that read like
// operators.
#include "expression_family.hpp"
#include "expression_pieces.hpp"

namespace conformance {
namespace {

const char* const complete[] = {"/a", "1", "a", "'x'", "count(a)", "a[1]", "@id", "a/b", "1 + 2", "(a)", "-1"};

std::string trailing_lexemes(random_source& random) {
    static const char* const trailers[] = {
        " b", " 2", "e3", ")", "]", " 'y'", " @x", ",", " .", " a()", " ::", "e", " /", " 1.5", "E3", " $",
    };
    static const char* const numbers[] = {"1", "-1", "1 + 2", "1.5", "(1)"};
    std::string expression = one_of(random, complete);
    std::string trailer = one_of(random, trailers);
    // An exponent follows a number; after a name it would lengthen the name.
    if (trailer[0] == 'e' || trailer[0] == 'E') expression = one_of(random, numbers);
    return expression + trailer;
}

std::string unclosed(random_source& random) {
    static const char* const forms[] = {
        "a[1", "(1", "count(a", "concat('a', 'b'", "a[b[1]", "((1)", "*[position() = 1", "(a | b", "a[(1]",
        "substring('abc', 1", "not(", "a[count(b]", "((a)[1]", "count(", "(", "a[",
    };
    return one_of(random, forms);
}

std::string unterminated_literals(random_source& random) {
    static const char* const forms[] = {
        "'abc", "\"abc", "concat('a", "a[@x = 'y]", "'a\"", "\"a'", "'", "\"", "count(a) = '", "a['1]",
    };
    return one_of(random, forms);
}

std::string missing_operands(random_source& random) {
    static const char* const forms[] = {
        "1 +", "and 1", "1 and", "or", "= 1", "1 =", "1 div", "a |", "| a", "-", "1 *", "()", "1 <", "count(a,)",
        "concat(,'a')", "1 + + ", "1 or or 2", "a/", "//", "a//", "@", "a[1]/", "1 != ", "> 2", "1 mod", "a[1 +]",
        "child::", "a/child::",
    };
    return one_of(random, forms);
}

std::string empty_predicates(random_source& random) {
    static const char* const forms[] = {"a[]", "*[][1]", "a[1][]", "(a)[]", "//b[]", "[]", "a[ ]", "@*[]"};
    return one_of(random, forms);
}

std::string unknown_axes(random_source& random) {
    static const char* const forms[] = {
        "foo::a", "chld::a", "a/bar::*", "Child::a", "following-siblings::a", "namespaces::*", "a/attr::id",
        "count(foo::a)", "self ::node()/foo::a", "ancestors::*",
    };
    return one_of(random, forms);
}

// Paths and functions over UTF-8 element and attribute names.
std::string utf8_names(random_source& random) {
    static const char* const forms[] = {
        "%", "count(%)", "count(%/%)", "name(%)", "count(//%)", "%/@id", "count(*[self::%])", "name(*/%)",
        "count(descendant::%)", "count(%[1]/%)",
    };
    std::string form = one_of(random, forms);
    return fill(form, {name_test(random, name_pool::utf8), name_test(random, name_pool::utf8)});
}

std::string number_literals(random_source& random) {
    static const char* const literals[] = {
        "4294967296", "2147483648", "12345678901234567", "99999999999", "2147483647", "9007199254740993",
        "18446744073709551616", ".5", "5.", "0.125", "3.0", "1.00000000001", "0.1", "123.456", "00012", "2147483648.5",
        "0.30000000000000004", "100000000000000000000000", "1.5", "0.0000001",
    };
    static const char* const forms[] = {"%", "% + 0", "% = %", "% > 2147483647", "-%", "% * 1", "% - 1", "(%)"};
    std::string form = one_of(random, forms);
    return fill(form, {one_of(random, literals), one_of(random, literals)});
}

// One of four nestings, 1 to 16 levels deep, around a small integer or path;
// the count() around the predicates is a level of its own.
std::string nesting(random_source& random) {
    std::uint32_t kind = random.below(4);
    std::int32_t depth = random.between(1, kind == 1 ? 15 : 16);
    std::string expression = kind == 1 ? "a" : small_integer(random);
    for (std::int32_t i = 0; i < depth; ++i) {
        switch (kind) {
            case 0: expression = "(" + expression + ")"; break;
            case 1: expression = "*[" + expression + "]"; break;
            case 2: expression = i % 2 == 0 ? "floor(" + expression + ")" : "ceiling(" + expression + ")"; break;
            default: expression = "not(" + expression + ")"; break;
        }
    }
    if (kind == 1) return "count(" + expression + ")";
    return expression;
}

// Element names div, mod, and, or and a-b, where the lexer must tell names
// from operators by what precedes them.
std::string operator_names(random_source& random) {
    static const char* const forms[] = {
        "(count(%) + 1) div (count(%) + 1)", "count(%) mod 2", "count(% | %)", "count(%/%)", "count(*) * count(%)",
        "count(%) - 1", "count(a-b)", "count(a) - count(b)", "1-1", "count(%) -1", "count(//%)", "count(%[1])",
        "count(*[self::%])", "name(%)", "count(%) and count(%)", "count(%) or 0",
    };
    std::string form = one_of(random, forms);
    return fill(form, {name_test(random, name_pool::operator_words), name_test(random, name_pool::operator_words)});
}

}  // namespace

std::vector<expression_family> syntax_families() {
    document_shape utf8;
    utf8.names = name_pool::utf8;
    document_shape operator_words;
    operator_words.names = name_pool::operator_words;
    return {
        {"syntax.trailing_lexemes", {}, trailing_lexemes},
        {"syntax.unclosed", {}, unclosed},
        {"syntax.unterminated_literals", {}, unterminated_literals},
        {"syntax.missing_operands", {}, missing_operands},
        {"syntax.empty_predicates", {}, empty_predicates},
        {"syntax.unknown_axes", {}, unknown_axes},
        {"syntax.utf8_names", utf8, utf8_names},
        {"syntax.number_literals", {}, number_literals},
        {"syntax.nesting", {}, nesting},
        {"syntax.operator_names", operator_words, operator_names},
    };
}

}  // namespace conformance
