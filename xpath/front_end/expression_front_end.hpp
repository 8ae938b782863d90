// expression_front_end: the base of the path evaluator. It owns the copy of
// the expression and the walker that decodes it; the walker hands every
// recorded action to the derived class through record_action.
#pragma once

#include <cstdint>
#include <memory>

#include "char_reader.hpp"
#include "grammar_walker.hpp"

namespace xpath {

class expression_front_end {
public:
    explicit expression_front_end(const char* expression);
    virtual ~expression_front_end();
    expression_front_end(const expression_front_end&) = delete;
    expression_front_end& operator=(const expression_front_end&) = delete;

    // Stores one action; returns the number of actions stored.
    virtual std::int32_t record_action(std::int32_t rule, std::int32_t sub_kind, std::int32_t variant,
                                       const char* literal) = 0;
    virtual std::int32_t action_count() = 0;

    char_reader reader;
    std::unique_ptr<evaluator_walker> walker;
};

}  // namespace xpath
