// Grammar walker: decodes the lexeme chain by the XPath grammar and reports
// each construct through record_action, after the actions of its parts.
// It evaluates nothing; the executor replays the recorded actions backwards.
// The next lexeme or two always choose between alternatives, so every
// lexeme is decoded once, and the first lexeme that does not fit ends the
// decode with a syntax error that says what was expected there.
#pragma once

#include <cstdint>
#include <vector>

#include "action_codes.hpp"
#include "lexeme_chain.hpp"
#include "xpath_errors.hpp"

namespace xpath {

class expression_front_end;

class grammar_walker : public lexeme_chain {
public:
    // Rule entries allowed per lexeme in one decode (and for one more). The
    // decode is linear, and no expression needs half of this; the bound is a
    // safety net that turns a decoder fault into syntax_overflow, not a hang.
    static constexpr std::uint32_t rule_entries_per_lexeme = 32;
    // Levels of Expr nested inside the whole expression (parentheses,
    // arguments, predicates) allowed in one decode: "((1))" nests two. Each
    // level costs stack in the walker and again in the executor, and the
    // device's threads have 64 KiB; the bound keeps both within it. Chains
    // (operators, bars, signs, steps) are decoded in loops and cost no depth.
    static constexpr std::uint32_t nesting_limit = 16;

    ~grammar_walker() override = default;

    virtual std::int32_t record_action(std::int32_t rule, std::int32_t sub_kind, std::int32_t variant,
                                       const char* literal) = 0;
    virtual std::int32_t action_count() = 0;

    // Refines the chain and decodes it as one whole Expr; throws syntax_error
    // when it is not one, and syntax_overflow past the nesting or entry bound.
    void decode_expression();

    std::uint32_t rule_entry_count = 0;
    std::uint32_t rule_entry_limit = 0;  // for the current decode
    std::uint32_t nesting_depth = 0;     // Expr rules entered and not yet left, the whole expression's included

private:
    bool current_is(lex_class kind) const { return cursor && cursor->kind == kind; }
    // One rule entry, against the bound; a loop that stands for a nested rule counts its entries too.
    void count_rule_entry();
    void record(grammar_rule rule, std::int32_t sub_kind, std::int32_t variant = 0, const char* literal = "");
    void record(grammar_rule rule, sub_kind recorded, std::int32_t variant = 0, const char* literal = "");
    // Ends the decode: what was expected (after the lexeme `mentioned`, when
    // one is named), and what was found at the cursor (or at `at`) instead.
    [[noreturn, gnu::noinline, gnu::cold]] void fail(syntax_code code, const char* expected,
                                                     const lexeme* mentioned = nullptr) const;
    [[noreturn, gnu::noinline, gnu::cold]] void fail_at(syntax_code code, const char* expected, const lexeme* at,
                                                        const lexeme* mentioned = nullptr) const;
    [[noreturn]] void fail_unterminated_literal() const;

    // Decodes one construct of `rule` at the cursor, or raises.
    void decode_rule(grammar_rule rule);
    void decode_location_path();
    void decode_absolute_location_path();
    void decode_relative_location_path();
    void decode_step();
    void decode_axis_specifier();
    void decode_axis_name();
    void decode_node_test();
    void decode_node_type_test();
    void decode_predicate();
    void decode_predicate_expr();
    void decode_abbreviated_absolute_location_path();
    void decode_abbreviated_step();
    void decode_expr();
    void decode_primary_expr();
    void decode_function_call();
    void decode_argument_list(const lexeme* name);
    void decode_argument();
    void decode_union_expr();
    void decode_path_expr();
    void decode_filter_expr();
    void decode_unary_expr();
    void decode_variable_reference();
    void decode_name_test();
    void decode_qname();

    // An operator's lexeme and the sub-kinds its rule records for it: as the
    // first operator of a chain and as a further one (the same but for "+" and "-").
    struct operator_lexeme {
        lex_class lexeme;
        sub_kind first, further;
    };
    // OrExpr to MultiplicativeExpr: Operand (Operator Operand)*, left to right.
    void decode_operator_chain(grammar_rule rule, grammar_rule operand, const operator_lexeme* operators,
                               int operator_count, sub_kind no_operator);

    // The levels of one relative path decoded in a loop: where each level's
    // actions begin and how it goes on. Nested paths stack theirs above.
    struct path_level {
        std::int32_t first_action;
        sub_kind separator;  // single_step, or the "/" or "//" after the step
    };
    std::vector<path_level> path_levels_;
};

// The walker of an expression_front_end: it hands every action to its owner.
class evaluator_walker : public grammar_walker {
public:
    explicit evaluator_walker(expression_front_end& owner) : owner(owner) {}
    std::int32_t record_action(std::int32_t rule, std::int32_t sub_kind, std::int32_t variant,
                               const char* literal) override;
    std::int32_t action_count() override;

    expression_front_end& owner;
};

}  // namespace xpath
