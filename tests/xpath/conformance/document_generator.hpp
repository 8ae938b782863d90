// Random small documents for the conformance cases: one root element "r" and
// nothing outside it; elements, attributes, text and comments below it.
// Texts never start or end with a space nor hold two in a row, and no text
// is white space only, since TinyXML condenses and drops such text while
// libxml2 keeps it; two texts are never neighbours. Names come from small
// pools, so that expressions over the same pools find nodes.
#pragma once

#include <cstdint>
#include <string>

#include "random_source.hpp"

namespace conformance {

enum class name_pool {
    plain,           // a, b, c, d: ASCII only
    utf8,            // the plain names and 文書, Größe, é; texts with UTF-8 and character references
    operator_words,  // div, mod, and, or, a-b beside a and b: names that read like operators
};

struct document_shape {
    name_pool names = name_pool::plain;
    std::int32_t max_depth = 3;     // element levels below the root element
    std::int32_t max_children = 4;  // children of one element
    bool languages = false;         // some elements carry xml:lang
};

std::string random_document(random_source& random, const document_shape& shape);

// The element and attribute names a document of the pool may hold.
const char* random_element_name(random_source& random, name_pool pool);
const char* random_attribute_name(random_source& random);

}  // namespace conformance
