// Documents for the evaluation tests: an XML text parsed by TinyXML, with every
// node numbered in pre-order from 1 (the document node itself is 1) the way the
// evaluator numbers them, and look-ups that find the nodes to put into
// collections. A look-up that finds nothing throws, which fails the test.
#pragma once

#include <tinyxml.h>

namespace test_support {

class sample_document {
public:
    explicit sample_document(const char* xml);
    sample_document(const sample_document&) = delete;
    sample_document& operator=(const sample_document&) = delete;

    // The first element named `tag` in document order.
    TiXmlElement* element(const char* tag);
    // The first child of that element (a text node in the samples).
    TiXmlNode* first_child(const char* tag);
    TiXmlAttribute* attribute(const char* tag, const char* name);

    TiXmlDocument document;
};

}  // namespace test_support
