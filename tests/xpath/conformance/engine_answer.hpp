// What an engine answered for one case, in a form that does not depend on
// the engine: an error, a boolean, a number, a string, or a list of node keys.
// A node key is the node's path of child indices from the document (every
// child counts, whatever its kind), attributes by name: "/" is the root node,
// "/0" the root element, "/0/2/@id" an attribute of its third child. The
// adapters (project_adapter, libxml2_adapter, pugixml_adapter) fill it;
// answer_comparison compares two.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace conformance {

enum class answer_kind { error, boolean, number, string, nodes };

struct engine_answer {
    answer_kind kind = answer_kind::error;
    bool truth = false;                    // boolean
    double number = 0;                     // number
    std::string text;                      // string; for an error, what failed
    std::vector<std::string> node_keys;    // nodes, in the order the engine gave them
    std::vector<std::string> node_labels;  // nodes: "<a>", "@id=\"3\"", "\"text\"", for reports
    std::string detail;                    // the engine's own kind, e.g. "int" or "double"
    bool document_refused = false;         // the engine did not parse the document: no answer at all
};

// The key of the root node, and keys made from their parent's key.
std::string root_key();
std::string child_key(const std::string& parent_key, std::size_t index);
std::string attribute_key(const std::string& element_key, const std::string& name);

// Report labels for the node kinds; long texts are cut.
std::string element_label(const std::string& name);
std::string attribute_label(const std::string& name, const std::string& value);
std::string text_label(const std::string& text);
std::string comment_label(const std::string& text);

// One node of a tree outline: "/0/1 element a", "/0/1/@x attribute x=1",
// "/0/0 text 7", "/0/2 comment c". Two parsers read a document alike when
// their outlines (every node in document order) are equal.
std::string outline_entry(const std::string& key, const char* kind, const std::string& value);

// One line: "number 2.5 (double)", "string \"ab\"", "boolean true",
// "nodes [/0/1 <a>, /0/1/@x @x=\"1\"]", "error: syntax (main level)".
std::string describe_answer(const engine_answer& answer);

}  // namespace conformance
