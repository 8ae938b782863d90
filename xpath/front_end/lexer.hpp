// Lexical analysis: the scanner turns the expression's bytes into lexemes in
// one pass with one table lookup per byte; refinement drops spaces and joins
// the two-character operators. Neither ever fails: the grammar walker judges
// whatever they produce.
#pragma once

#include <cstddef>

#include "char_reader.hpp"
#include "lexeme_chain.hpp"

namespace xpath {

// Reads the reader to its end and appends the lexemes to the chain.
void scan_lexemes(char_reader& reader, lexeme_chain& chain);

// The class of a scanned name: a keyword when its bytes spell one (case
// matters), else ncname. The walker takes a keyword for a name where the
// grammar expects one.
lex_class classify_name(const char* bytes, std::size_t count);

// Removes space lexemes and joins "//", "..", "::", "<=", ">=" and "!=" in
// place. Operator characters with a space between stay apart ("< =").
void refine_lexemes(lexeme_chain& chain);

}  // namespace xpath
