// A front end for tests: it keeps the recorded actions as text and runs the
// scanner and the decoder the way the path evaluator does.
#pragma once

#include <string>
#include <vector>

#include "front_end/expression_front_end.hpp"

namespace test_support {

class recording_front_end : public xpath::expression_front_end {
public:
    explicit recording_front_end(const char* expression);

    std::int32_t record_action(std::int32_t rule, std::int32_t sub, std::int32_t variant,
                               const char* literal) override;
    std::int32_t action_count() override;

    // Scans the expression into the walker's chain.
    void scan();
    // Scans, then decodes; exceptions pass through.
    void decode();

    // "(rule, sub, variant)" or "(rule, sub, variant, "literal")" per action.
    std::vector<std::string> actions;
};

// The chain as "kind text" items, e.g. "28 Settings".
std::vector<std::string> lexemes_of(const xpath::lexeme_chain& chain);

// The actions of a whole decode, or "syntax_error <text>" / "syntax_overflow".
std::vector<std::string> decode_actions(const char* expression, std::uint32_t* entries = nullptr);

}  // namespace test_support
