// Pieces the expression families are built from. The neutral ones (child
// paths of name tests, small integers, count() of a child path, literals)
// are constructs whose answers the engine already gets right, so that a
// family adds only its own rule's constructs around them.
#pragma once

#include <initializer_list>
#include <string>

#include "document_generator.hpp"
#include "random_source.hpp"

namespace conformance {

// One name test of the pool: "a", "b", ... .
std::string name_test(random_source& random, name_pool pool = name_pool::plain);
// One to three name tests or '*' joined by '/': "a", "a/*", "b/c/a".
std::string child_path(random_source& random);
// "0" to "9".
std::string small_integer(random_source& random);
// A small integer or the count() of a child path.
std::string neutral_number(random_source& random);
// A string literal of the text, in quotes the text does not hold.
std::string literal(const std::string& text);

// The pattern with each '%' replaced by the next part. Callers pass the parts
// as a braced list, whose elements are evaluated in order, so the draws of
// the random source happen in the same order everywhere; the pattern is drawn
// in a statement of its own, since function arguments have no fixed order.
std::string fill(const std::string& pattern, std::initializer_list<std::string> parts);

// One of the listed texts, drawn at random.
template <std::size_t N>
std::string one_of(random_source& random, const char* const (&items)[N]) {
    return random.pick(items);
}

}  // namespace conformance
