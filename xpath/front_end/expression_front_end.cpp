// The front end's construction: the expression copy, then its walker.
#include "expression_front_end.hpp"

namespace xpath {

expression_front_end::expression_front_end(const char* expression)
    : reader(expression), walker(new evaluator_walker(*this)) {}

// The walker goes first: it frees the chain and every lexeme.
expression_front_end::~expression_front_end() {
    walker.reset();
}

}  // namespace xpath
