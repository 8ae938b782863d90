// Families of the tree as expressions see it: string values of every node
// kind, the root node, names, and the document order between kinds.
#include "expression_family.hpp"
#include "expression_pieces.hpp"

namespace conformance {
namespace {

// Nodes of every kind, reached by plain child paths and node tests.
const char* const any_node[] = {
    "self::*", "a", "b", "a/b", "*", "@id", "@x", "a/@id", "b/@n", "child::text()", "a/text()", "child::comment()",
    "b/comment()", "child::node()", "a/node()", "@*", "*/@*", "zz",
};

std::string string_value(random_source& random) {
    static const char* const forms[] = {"concat(%, '')", "concat('', %)", "string-length(%)", "concat(/, '')"};
    std::string form = one_of(random, forms);
    return fill(form, {one_of(random, any_node)});
}

// The root node reached in the ways that name it, with a question about it.
std::string root_node(random_source& random) {
    static const char* const roads[] = {"/", "..", "/*/..", "a/../..", "self::*/.."};
    static const char* const questions[] = {
        "%", "count(%)", "name(%)", "count(%/self::node())", "count(%/parent::node())", "count(%/self::*)", "%/*",
        "count(%/ancestor::node())", "count(%/ancestor-or-self::*)",
    };
    std::string question = one_of(random, questions);
    return fill(question, {one_of(random, roads)});
}

std::string names(random_source& random) {
    static const char* const functions[] = {"name", "local-name", "namespace-uri"};
    static const char* const nodes[] = {
        "self::*", "a", "b/c", "*", "@id", "a/@*", "child::text()", "child::comment()", "/", "@*", "zz",
    };
    return fill("%(%)", {one_of(random, functions), one_of(random, nodes)});
}

// Unions of nodes of different kinds: the result shows their order.
std::string document_order(random_source& random) {
    static const char* const parts[] = {
        "@*", "*", "a/@*", "a", "child::text()", "child::comment()", "child::node()", "a/node()", "self::*", "b/@id",
        "a/b", "*/@n", "..",
    };
    if (random.percent(40))
        return fill("% | % | %", {one_of(random, parts), one_of(random, parts), one_of(random, parts)});
    return fill("% | %", {one_of(random, parts), one_of(random, parts)});
}

}  // namespace

std::vector<expression_family> tree_families() {
    return {
        {"tree.string_values", {}, string_value},
        {"tree.root_node", {}, root_node},
        {"tree.names", {}, names},
        {"tree.document_order", {}, document_order},
    };
}

}  // namespace conformance
