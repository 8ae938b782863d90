// Grammar walker: decodes the lexeme chain by the XPath grammar and reports
// each construct through record_action, after the actions of its parts.
// It evaluates nothing; the executor replays the recorded actions backwards.
// Where the next lexeme cannot choose between alternatives, a trial decodes
// one with recording off, the cursor goes back, and the real decode follows.
#pragma once

#include <cstdint>
#include <vector>

#include "action_codes.hpp"
#include "lexeme_chain.hpp"

namespace xpath {

class expression_front_end;

class grammar_walker : public lexeme_chain {
public:
    // Rule entries allowed in one decode. Trials double the work of every
    // nesting level of path expressions; the bound caps that work.
    static constexpr std::uint32_t rule_entry_limit = 10000;
    // Expr nested in Expr (parentheses, arguments, predicates) allowed in one
    // decode. Each level costs stack in the walker and again in the executor,
    // and the device's threads have 64 KiB; the bound keeps both within it.
    // Chains (operators, bars, signs, steps) are decoded in loops and cost no depth.
    static constexpr std::uint32_t nesting_limit = 16;

    ~grammar_walker() override = default;

    virtual std::int32_t record_action(std::int32_t rule, std::int32_t sub_kind, std::int32_t variant,
                                       const char* literal) = 0;
    virtual std::int32_t action_count() = 0;

    // Refines the chain and decodes one Expr from its start; throws
    // syntax_error "main level" when that fails and syntax_overflow past the bound.
    void decode_expression();
    // Decodes one construct of `rule` at the cursor; false when it does not fit.
    bool decode_rule(grammar_rule rule, bool record);

    std::uint32_t rule_entry_count = 0;
    std::uint32_t nesting_depth = 0;  // Expr rules entered and not yet left

private:
    bool current_is(lex_class kind) const { return cursor && cursor->kind == kind; }
    // One rule entry, against the bound; a loop that stands for a nested rule counts its entries too.
    void count_rule_entry();
    // Records the action when `on`: trials decode with recording off.
    void record_when(bool on, grammar_rule rule, std::int32_t sub_kind, std::int32_t variant = 0, const char* literal = "");
    void record_when(bool on, grammar_rule rule, sub_kind recorded, std::int32_t variant = 0, const char* literal = "");

    bool decode_location_path(bool record);
    bool decode_absolute_location_path(bool record);
    bool decode_relative_location_path(bool record);
    bool decode_step(bool record);
    bool decode_axis_specifier(bool record);
    bool decode_axis_name(bool record);
    bool decode_node_test(bool record);
    bool decode_predicate(bool record);
    bool decode_predicate_expr(bool record);
    bool decode_abbreviated_absolute_location_path(bool record);
    bool decode_abbreviated_step(bool record);
    bool decode_expr(bool record);
    bool decode_primary_expr(bool record);
    bool decode_function_call(bool record);
    bool decode_argument_list(bool record);
    bool decode_argument(bool record);
    bool decode_union_expr(bool record);
    bool decode_path_expr(bool record);
    bool decode_filter_expr(bool record);
    bool decode_additive_expr(bool record);
    bool decode_unary_expr(bool record);
    bool decode_variable_reference(bool record);
    bool decode_name_test(bool record);
    bool decode_qname(bool record);

    // An operator's lexeme and the sub-kind its rule records for it.
    struct operator_lexeme {
        lex_class lexeme;
        sub_kind recorded;
    };
    // The levels of one relative path decoded in a loop: where each level's
    // actions begin and how it goes on. Nested paths stack theirs above.
    struct path_level {
        std::int32_t first_action;
        sub_kind separator;  // single_step, or the "/" or "//" after the step
    };
    std::vector<path_level> path_levels_;

    bool decode_single_operator(bool record, grammar_rule rule, grammar_rule operand, const operator_lexeme* operators,
                                int operator_count, sub_kind no_operator);
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
