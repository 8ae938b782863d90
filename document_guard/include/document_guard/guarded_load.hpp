// Guarded load: loads a TinyXML document from an open file only after the
// nesting scan has found it shallow enough for the parser's recursion, and
// tells why a file did not load. The caller opens and closes the file, so
// that files are opened wherever the caller's platform says.
#pragma once

#include <cstdint>
#include <cstdio>

class TiXmlDocument;

namespace document_guard {

// The deepest element nesting a document may have. TinyXML parses an element
// by recursion, and the document's tree is later walked (and destroyed) by
// recursion too; on the device's 64 KiB thread stacks the whole read path
// must fit with room to spare. The measured stack per level is in
// tests/document_guard/guarded_load_test.cpp. Real settings nest 2 or 3 deep.
constexpr std::int32_t document_depth_limit = 64;

enum class load_outcome {
    loaded,      // parsed without error
    read_failed, // the bytes could not be read (errno in read_error)
    too_deep,    // nested deeper than the limit (given up at gave_up_depth)
    not_parsed,  // TinyXML refused the bytes (its text in the document)
};

struct load_report {
    load_outcome outcome = load_outcome::not_parsed;
    std::int32_t gave_up_depth = 0;
    int read_error = 0;
};

// Reads the file from its start; on loaded, the document holds it.
load_report load_guarded(TiXmlDocument& document, std::FILE* file,
                         std::int32_t depth_limit = document_depth_limit);

}  // namespace document_guard
