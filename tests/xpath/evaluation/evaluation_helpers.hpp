// Helpers for the tests that evaluate whole expressions: parse an XML text,
// evaluate an expression against a node of it, and describe the outcome as
// one line, so that a table row can hold an expression and its expected
// outcome side by side ("ok nodes: element Language, text 7", "execution 11").
#pragma once

#include <memory>
#include <string>

#include <tinyxml.h>

#include "evaluation/path_value.hpp"

namespace test_support {

// Parses `xml`. A text TinyXML rejects fails the running test and gives a
// document without a root element.
std::unique_ptr<TiXmlDocument> parse_xml(const char* xml);

// One value as "int: 3", "double: 2.5", "string: abc", "bool: true", "none",
// or "nodes: element Language, text 7, comment c1, attribute version=3, root"
// with the entries in the order the collection holds them ("nodes: empty" for
// none; "other ?pi x?" for a processing instruction). Reads nothing through the conversions, so no collection is sorted.
std::string describe_value(const xpath::path_value& value);

// Evaluates `expression` against `base` and describes the outcome:
// "ok " followed by describe_value of the result, "execution <code>",
// "syntax", "overflow" or "unbalanced".
std::string describe_at(TiXmlNode* base, const char* expression);

// describe_at with the root element of `xml` as base, as the launcher does.
std::string describe(const char* xml, const char* expression);

}  // namespace test_support
