// xpath-query: loads an XML file, evaluates an expression against its root
// element with the installed engine and prints the result: one line with its
// kind, one per node of a node result, and its number and text conversions.
// Each NAME=VALUE binds a string to $NAME: text a user typed goes into the
// expression that way, never into its text, so no quote in it can break the
// expression or change what it asks ("/users/user[@name = $name]").
//   xpath-query FILE EXPRESSION [NAME=VALUE]...
// Exit status: 0 when the expression evaluated, 1 when it did not, 2 for a
// usage error, 3 when FILE does not load.
#include <cstdio>
#include <cstring>

#include <tinyxml.h>

#include "xpath/xpath.hpp"

namespace {

void print_failure(const xpath::evaluation_result& result) {
    std::printf("failed: status %d, error %d", static_cast<int>(result.status), result.error_code);
    if (!result.error_text.empty()) std::printf(" (%s)", result.error_text.c_str());
    std::printf("\n");
}

void print_value(const xpath::evaluation_result& result) {
    std::printf("value: %s\n", xpath::kind_name(result.kind));
    for (const xpath::result_node& entry : result.nodes) {
        if (entry.attribute) {
            std::printf("  @%s = %s\n", entry.attribute->Name(), entry.attribute->Value());
        } else if (entry.node->ToDocument()) {
            std::printf("  (the root node)\n");
        } else if (entry.node->ToElement()) {
            std::printf("  <%s>\n", entry.node->Value());
        } else {
            std::printf("  \"%s\"\n", entry.node->Value());
        }
    }
    std::printf("as number: %d\n", result.as_int);
    std::printf("as text: %s\n", result.as_string.c_str());
}

// "NAME=VALUE" into `variables`; false when there is no '=' after a name.
bool bind(const char* binding, xpath::variable_bindings& variables) {
    const char* equals = std::strchr(binding, '=');
    if (!equals || equals == binding) return false;
    variables.bind_string(std::string(binding, equals), equals + 1);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    xpath::variable_bindings variables;
    bool usable = argc >= 3;
    for (int i = 3; i < argc && usable; ++i) usable = bind(argv[i], variables);
    if (!usable) {
        std::fprintf(stderr, "usage: xpath-query FILE EXPRESSION [NAME=VALUE]...\n");
        return 2;
    }
    TiXmlDocument document;
    if (!document.LoadFile(argv[1])) {
        std::fprintf(stderr, "xpath-query: cannot load %s: %s\n", argv[1], document.ErrorDesc());
        return 3;
    }
    xpath::evaluation_result result = xpath::evaluate(document.RootElement(), argv[2], nullptr, &variables);
    if (result.status != xpath::eval_status::status_ok) {
        print_failure(result);
        return 1;
    }
    print_value(result);
    return 0;
}
