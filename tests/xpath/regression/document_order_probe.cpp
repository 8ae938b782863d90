// Regression gate helper: the document-order numbers that an evaluation
// leaves in the nodes' user data. For every expression it clears the user
// data of the whole document, evaluates through evaluate_int, and prints the
// outcome and every node's number in pre-order, the document node included.
//   document_order_probe FILE EXPRESSIONS_FILE
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#include <tinyxml.h>

#include "evaluation/node_collection.hpp"
#include "xpath/xpath.hpp"

namespace {

void clear_numbers(TiXmlNode* node) {
    node->SetUserData(nullptr);
    for (TiXmlNode* child = node->FirstChild(); child; child = child->NextSibling()) clear_numbers(child);
}

void print_numbers(const TiXmlNode* node) {
    std::printf(" %d", xpath::document_order_of(node));
    for (const TiXmlNode* child = node->FirstChild(); child; child = child->NextSibling()) print_numbers(child);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: document_order_probe FILE EXPRESSIONS_FILE\n");
        return 2;
    }
    TiXmlDocument document;
    if (!document.LoadFile(argv[1], TIXML_ENCODING_UNKNOWN)) {
        std::fprintf(stderr, "document_order_probe: cannot load %s: %s\n", argv[1], document.ErrorDesc());
        return 3;
    }
    std::ifstream expressions(argv[2]);
    if (!expressions) {
        std::fprintf(stderr, "document_order_probe: cannot read %s\n", argv[2]);
        return 3;
    }
    for (std::string expression; std::getline(expressions, expression);) {
        clear_numbers(&document);
        std::int32_t value = -1;
        bool succeeded = xpath::evaluate_int(document.RootElement(), expression.c_str(), &value);
        std::printf("== %s\nresult: %s %d\norder:", expression.c_str(), succeeded ? "ok" : "failed", value);
        print_numbers(&document);
        std::printf("\n");
    }
    return 0;
}
