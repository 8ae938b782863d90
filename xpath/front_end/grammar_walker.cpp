// The rules of the grammar walker, one function per production. Every rule
// records its own action after those of its parts (postfix order), so the
// last action is the whole expression's. Only three places run trials:
// the path after "/", each predicate of a step, and the filter expression of
// a path expression; everywhere else a failing rule leaves the cursor where
// it stopped and its caller fails in turn. Chains that the grammar nests
// (signs, bars, steps) are decoded in loops, so that the depth of the calls
// grows only with the nesting of Expr, which is bounded.
#include "grammar_walker.hpp"

#include "expression_front_end.hpp"
#include "lexer.hpp"
#include "xpath_errors.hpp"

namespace xpath {

void grammar_walker::record_when(bool on, grammar_rule rule, std::int32_t sub_kind, std::int32_t variant,
                                 const char* literal) {
    if (on) record_action(code_of(rule), sub_kind, variant, literal);
}

void grammar_walker::record_when(bool on, grammar_rule rule, sub_kind recorded, std::int32_t variant,
                                 const char* literal) {
    record_when(on, rule, code_of(recorded), variant, literal);
}

void grammar_walker::decode_expression() {
    refine_lexemes(*this);
    cursor = first();
    rule_entry_count = 0;
    nesting_depth = 0;
    path_levels_.clear();
    path_levels_.reserve(8);  // one allocation for the paths of a short expression
    // Lexemes left after a complete expression are neither an error nor recorded.
    if (!decode_rule(grammar_rule::Expr, true)) raise_syntax_error(main_level_text);
}

void grammar_walker::count_rule_entry() {
    if (++rule_entry_count > rule_entry_limit) raise_syntax_overflow();
}

bool grammar_walker::decode_rule(grammar_rule rule, bool record) {
    count_rule_entry();
    switch (rule) {
        case grammar_rule::LocationPath: return decode_location_path(record);
        case grammar_rule::AbsoluteLocationPath: return decode_absolute_location_path(record);
        case grammar_rule::RelativeLocationPath: return decode_relative_location_path(record);
        case grammar_rule::Step: return decode_step(record);
        case grammar_rule::AxisSpecifier: return decode_axis_specifier(record);
        case grammar_rule::AxisName: return decode_axis_name(record);
        case grammar_rule::NodeTest: return decode_node_test(record);
        case grammar_rule::Predicate: return decode_predicate(record);
        case grammar_rule::PredicateExpr: return decode_predicate_expr(record);
        case grammar_rule::AbbreviatedAbsoluteLocationPath: return decode_abbreviated_absolute_location_path(record);
        case grammar_rule::AbbreviatedStep: return decode_abbreviated_step(record);
        case grammar_rule::Expr: return decode_expr(record);
        case grammar_rule::PrimaryExpr: return decode_primary_expr(record);
        case grammar_rule::FunctionCall: return decode_function_call(record);
        case grammar_rule::Argument: return decode_argument(record);
        case grammar_rule::UnionExpr: return decode_union_expr(record);
        case grammar_rule::PathExpr: return decode_path_expr(record);
        case grammar_rule::FilterExpr: return decode_filter_expr(record);
        case grammar_rule::OrExpr: {
            static const operator_lexeme operators[] = {{lex_class::kw_or, sub_kind::or_op}};
            return decode_single_operator(record, rule, grammar_rule::AndExpr, operators, 1, sub_kind::no_or);
        }
        case grammar_rule::AndExpr: {
            static const operator_lexeme operators[] = {{lex_class::kw_and, sub_kind::and_op}};
            return decode_single_operator(record, rule, grammar_rule::EqualityExpr, operators, 1, sub_kind::no_and);
        }
        case grammar_rule::EqualityExpr: {
            static const operator_lexeme operators[] = {{lex_class::equal, sub_kind::equal_op},
                                                  {lex_class::not_equal, sub_kind::not_equal_op}};
            return decode_single_operator(record, rule, grammar_rule::RelationalExpr, operators, 2,
                                          sub_kind::no_equality);
        }
        case grammar_rule::RelationalExpr: {
            static const operator_lexeme operators[] = {{lex_class::less_than, sub_kind::less_op},
                                                  {lex_class::greater_than, sub_kind::greater_op},
                                                  {lex_class::less_or_equal, sub_kind::less_equal_op},
                                                  {lex_class::greater_or_equal, sub_kind::greater_equal_op}};
            return decode_single_operator(record, rule, grammar_rule::AdditiveExpr, operators, 4,
                                          sub_kind::no_relational);
        }
        case grammar_rule::AdditiveExpr: return decode_additive_expr(record);
        case grammar_rule::MultiplicativeExpr: {
            static const operator_lexeme operators[] = {{lex_class::star, sub_kind::multiply_op},
                                                  {lex_class::kw_div, sub_kind::div_op},
                                                  {lex_class::kw_mod, sub_kind::mod_op}};
            return decode_single_operator(record, rule, grammar_rule::UnaryExpr, operators, 3,
                                          sub_kind::no_multiplicative);
        }
        case grammar_rule::UnaryExpr: return decode_unary_expr(record);
        case grammar_rule::VariableReference: return decode_variable_reference(record);
        case grammar_rule::NameTest: return decode_name_test(record);
        case grammar_rule::QName: return decode_qname(record);
        default: return false;  // AbbreviatedAxisSpecifier, Prefix, LocalPart are only recorded
    }
}

// LocationPath: RelativeLocationPath | AbsoluteLocationPath
bool grammar_walker::decode_location_path(bool record) {
    if (!cursor) return false;
    if (current_is(lex_class::slash) || current_is(lex_class::double_slash)) {
        if (!decode_rule(grammar_rule::AbsoluteLocationPath, record)) return false;
        record_when(record, grammar_rule::LocationPath, sub_kind::absolute_location);
    } else {
        if (!decode_rule(grammar_rule::RelativeLocationPath, record)) return false;
        record_when(record, grammar_rule::LocationPath, sub_kind::relative_location);
    }
    return true;
}

// AbsoluteLocationPath: '/' RelativeLocationPath? | AbbreviatedAbsoluteLocationPath
// The variant is the log position of the path's first action.
bool grammar_walker::decode_absolute_location_path(bool record) {
    if (!cursor) return false;
    std::int32_t first_action = action_count();
    if (current_is(lex_class::slash)) {
        advance_cursor(1);
        lexeme* after_slash = cursor;
        bool has_path = decode_rule(grammar_rule::RelativeLocationPath, false);
        cursor = after_slash;
        if (has_path) {
            decode_rule(grammar_rule::RelativeLocationPath, record);
            record_when(record, grammar_rule::AbsoluteLocationPath, sub_kind::root_and_relative, first_action);
        } else {
            record_when(record, grammar_rule::AbsoluteLocationPath, sub_kind::root_only, first_action);
        }
        return true;
    }
    if (!current_is(lex_class::double_slash)) return false;
    if (!decode_rule(grammar_rule::AbbreviatedAbsoluteLocationPath, record)) return false;
    record_when(record, grammar_rule::AbsoluteLocationPath, sub_kind::root_abbreviated, first_action);
    return true;
}

// RelativeLocationPath: Step (('/' | '//') RelativeLocationPath)?
// Nests to the right; the variant is the log position of the path's first
// action. The nested paths are decoded in a loop, each counted as the rule
// entry it stands for, and their actions recorded innermost first afterwards.
bool grammar_walker::decode_relative_location_path(bool record) {
    const std::size_t base = path_levels_.size();
    for (;;) {
        path_level level{action_count(), sub_kind::single_step};
        if (!decode_rule(grammar_rule::Step, record)) {
            path_levels_.resize(base);
            return false;
        }
        if (current_is(lex_class::slash))
            level.separator = sub_kind::step_slash_path;
        else if (current_is(lex_class::double_slash))
            level.separator = sub_kind::step_double_slash_path;
        path_levels_.push_back(level);
        if (level.separator == sub_kind::single_step) break;
        advance_cursor(1);
        count_rule_entry();
    }
    while (path_levels_.size() > base) {
        record_when(record, grammar_rule::RelativeLocationPath, path_levels_.back().separator,
                    path_levels_.back().first_action);
        path_levels_.pop_back();
    }
    return true;
}

// Step: AxisSpecifier NodeTest Predicate* | AbbreviatedStep
bool grammar_walker::decode_step(bool record) {
    if (!cursor) return false;
    if (current_is(lex_class::dot) || current_is(lex_class::double_dot)) {
        if (!decode_rule(grammar_rule::AbbreviatedStep, record)) return false;
        record_when(record, grammar_rule::Step, sub_kind::abbreviated_step);
        return true;
    }
    if (!decode_rule(grammar_rule::AxisSpecifier, record)) return false;
    if (!decode_rule(grammar_rule::NodeTest, record)) return false;
    std::int32_t predicates = 0;
    while (current_is(lex_class::opening_bracket)) {
        lexeme* at_bracket = cursor;
        if (!decode_rule(grammar_rule::Predicate, false)) break;  // the cursor stays where the trial left it
        cursor = at_bracket;
        decode_rule(grammar_rule::Predicate, record);
        ++predicates;
    }
    record_when(record, grammar_rule::Step, sub_kind::full_step, predicates);
    return true;
}

// AxisSpecifier: AxisName '::' | AbbreviatedAxisSpecifier
bool grammar_walker::decode_axis_specifier(bool record) {
    if (current_is(lex_class::at)) {
        advance_cursor(1);
        record_when(record, grammar_rule::AxisSpecifier, sub_kind::attribute_axis);
        return true;
    }
    if (cursor && is_axis_class(code_of(cursor->kind))) {
        if (!decode_rule(grammar_rule::AxisName, record)) return false;
        if (!current_is(lex_class::double_colon)) return false;
        advance_cursor(1);
        record_when(record, grammar_rule::AxisSpecifier, sub_kind::named_axis);
        return true;
    }
    record_when(record, grammar_rule::AbbreviatedAxisSpecifier, 1);
    record_when(record, grammar_rule::AxisSpecifier, sub_kind::default_axis);
    return true;
}

// AxisName: one of the thirteen axis keywords; the variant is its lex_class.
bool grammar_walker::decode_axis_name(bool record) {
    if (!cursor || !is_axis_class(code_of(cursor->kind))) return false;
    record_when(record, grammar_rule::AxisName, 0, code_of(cursor->kind));
    advance_cursor(1);
    return true;
}

// NodeTest: NameTest | NodeType '(' ')' | 'processing-instruction' '(' Literal ')'
// The parentheses of a node-type test are consumed without being examined.
bool grammar_walker::decode_node_test(bool record) {
    if (!cursor) return false;
    std::int32_t kind = code_of(cursor->kind);
    if (cursor->kind == lex_class::type_processing_instruction) {
        lexeme* two_ahead = lexeme_after_cursor(2);
        if (two_ahead && two_ahead->kind == lex_class::closing_parenthesis) {
            advance_cursor(3);
            record_when(record, grammar_rule::NodeTest, sub_kind::pi_test, kind);
        } else {
            record_when(record, grammar_rule::NodeTest, sub_kind::pi_literal_test, kind,
                   two_ahead ? two_ahead->text.c_str() : "");
            advance_cursor(4);
        }
        return true;
    }
    if (is_node_type_class(kind)) {
        record_when(record, grammar_rule::NodeTest, sub_kind::node_type_test, kind);
        advance_cursor(3);
        return true;
    }
    if (!decode_rule(grammar_rule::NameTest, record)) return false;
    record_when(record, grammar_rule::NodeTest, sub_kind::name_node_test);
    return true;
}

// Predicate: '[' PredicateExpr ']'
bool grammar_walker::decode_predicate(bool record) {
    if (!cursor || !lexeme_after_cursor(1) || !current_is(lex_class::opening_bracket)) return false;
    advance_cursor(1);
    if (!decode_rule(grammar_rule::PredicateExpr, record)) return false;
    if (!current_is(lex_class::closing_bracket)) return false;
    advance_cursor(1);
    record_when(record, grammar_rule::Predicate, 0);
    return true;
}

// PredicateExpr: Expr
bool grammar_walker::decode_predicate_expr(bool record) {
    if (!decode_rule(grammar_rule::Expr, record)) return false;
    record_when(record, grammar_rule::PredicateExpr, 0);
    return true;
}

// AbbreviatedAbsoluteLocationPath: '//' RelativeLocationPath
bool grammar_walker::decode_abbreviated_absolute_location_path(bool record) {
    if (!current_is(lex_class::double_slash)) return false;
    advance_cursor(1);
    if (!decode_rule(grammar_rule::RelativeLocationPath, record)) return false;
    record_when(record, grammar_rule::AbbreviatedAbsoluteLocationPath, 0);
    return true;
}

// AbbreviatedStep: '.' | '..'
bool grammar_walker::decode_abbreviated_step(bool record) {
    std::int32_t recorded;
    if (current_is(lex_class::dot))
        recorded = 0;
    else if (current_is(lex_class::double_dot))
        recorded = 1;
    else
        return false;
    advance_cursor(1);
    record_when(record, grammar_rule::AbbreviatedStep, recorded);
    return true;
}

// Expr: OrExpr
// Past the nesting bound the decode ends as it does past the entry bound.
bool grammar_walker::decode_expr(bool record) {
    if (!cursor) return false;
    if (nesting_depth >= nesting_limit) raise_syntax_overflow();
    ++nesting_depth;
    bool decoded = decode_rule(grammar_rule::OrExpr, record);
    --nesting_depth;
    if (!decoded) return false;
    record_when(record, grammar_rule::Expr, 0);
    return true;
}

// PrimaryExpr: VariableReference | '(' Expr ')' | Literal | Number | FunctionCall
bool grammar_walker::decode_primary_expr(bool record) {
    if (!cursor) return false;
    switch (cursor->kind) {
        case lex_class::dollar:
            if (!decode_rule(grammar_rule::VariableReference, record)) return false;
            record_when(record, grammar_rule::PrimaryExpr, sub_kind::variable_primary);
            return true;
        case lex_class::opening_parenthesis:
            advance_cursor(1);
            if (!decode_rule(grammar_rule::Expr, record)) return false;
            if (!current_is(lex_class::closing_parenthesis)) return false;
            advance_cursor(1);
            record_when(record, grammar_rule::PrimaryExpr, sub_kind::parenthesised_primary);
            return true;
        case lex_class::number:
            record_when(record, grammar_rule::PrimaryExpr, sub_kind::number_primary, 0, cursor->text.c_str());
            advance_cursor(1);
            return true;
        case lex_class::string_literal:
            record_when(record, grammar_rule::PrimaryExpr, sub_kind::literal_primary, 0, cursor->text.c_str());
            advance_cursor(1);
            return true;
        default:
            if (!decode_rule(grammar_rule::FunctionCall, record)) return false;
            record_when(record, grammar_rule::PrimaryExpr, sub_kind::call_primary);
            return true;
    }
}

// FunctionCall: FunctionName '(' ( Argument ( ',' Argument )* )? ')'
// A node-type keyword may name a function; other keywords may not.
bool grammar_walker::decode_function_call(bool record) {
    if (!cursor) return false;
    if (is_node_type_class(code_of(cursor->kind))) {
        record_when(record, grammar_rule::LocalPart, 0, 0, cursor->text.c_str());
        record_when(record, grammar_rule::QName, sub_kind::plain_qname);
        advance_cursor(1);
    } else if (!decode_rule(grammar_rule::QName, record)) {
        return false;
    }
    if (!current_is(lex_class::opening_parenthesis)) return false;
    advance_cursor(1);
    if (!cursor) return false;
    if (current_is(lex_class::closing_parenthesis)) {
        advance_cursor(1);
        record_when(record, grammar_rule::FunctionCall, call_without_arguments);
        return true;
    }
    return decode_argument_list(record);
}

// The arguments after "(", decoded for real; the cursor goes back to the end
// of the last argument that decoded before ")" is required.
bool grammar_walker::decode_argument_list(bool record) {
    std::int32_t arguments = 0;
    lexeme* mark = cursor;
    for (;;) {
        if (arguments > 0) {
            if (!current_is(lex_class::comma)) break;
            advance_cursor(1);
        }
        if (!decode_rule(grammar_rule::Argument, record)) break;
        ++arguments;
        mark = cursor;
    }
    cursor = mark;
    if (!current_is(lex_class::closing_parenthesis)) return false;
    advance_cursor(1);
    record_when(record, grammar_rule::FunctionCall, call_with_arguments, arguments);
    return true;
}

// Argument: Expr
bool grammar_walker::decode_argument(bool record) {
    if (!decode_rule(grammar_rule::Expr, record)) return false;
    record_when(record, grammar_rule::Argument, 0);
    return true;
}

// UnionExpr: PathExpr ('|' UnionExpr)?   (nests to the right)
// Decoded in a loop: each bar's nested UnionExpr counts as a rule entry, and
// the actions come out as the nesting records them, innermost first.
bool grammar_walker::decode_union_expr(bool record) {
    std::int32_t bars = 0;
    for (;;) {
        if (!decode_rule(grammar_rule::PathExpr, record)) return false;
        if (!current_is(lex_class::or_character)) break;
        advance_cursor(1);
        count_rule_entry();
        ++bars;
    }
    record_when(record, grammar_rule::UnionExpr, sub_kind::union_single);
    for (; bars > 0; --bars) record_when(record, grammar_rule::UnionExpr, sub_kind::union_bar);
    return true;
}

// PathExpr: FilterExpr (('/' | '//') RelativeLocationPath)? | LocationPath
// The filter form is preferred. When the path after its "/" fails, the
// actions already recorded stay in the log before the location path's.
bool grammar_walker::decode_path_expr(bool record) {
    lexeme* start = cursor;
    if (decode_rule(grammar_rule::FilterExpr, false)) {
        cursor = start;
        decode_rule(grammar_rule::FilterExpr, record);
        sub_kind recorded = sub_kind::path_filter;
        if (current_is(lex_class::slash))
            recorded = sub_kind::path_filter_slash;
        else if (current_is(lex_class::double_slash))
            recorded = sub_kind::path_filter_double_slash;
        if (recorded == sub_kind::path_filter) {
            record_when(record, grammar_rule::PathExpr, recorded);
            return true;
        }
        advance_cursor(1);
        if (decode_rule(grammar_rule::RelativeLocationPath, record)) {
            record_when(record, grammar_rule::PathExpr, recorded);
            return true;
        }
    }
    cursor = start;
    if (!decode_rule(grammar_rule::LocationPath, record)) return false;
    record_when(record, grammar_rule::PathExpr, sub_kind::path_location);
    return true;
}

// FilterExpr: PrimaryExpr Predicate?   (one predicate at most)
bool grammar_walker::decode_filter_expr(bool record) {
    if (!decode_rule(grammar_rule::PrimaryExpr, record)) return false;
    if (current_is(lex_class::opening_bracket)) {
        if (!decode_rule(grammar_rule::Predicate, record)) return false;
        record_when(record, grammar_rule::FilterExpr, sub_kind::filter_predicate);
    } else {
        record_when(record, grammar_rule::FilterExpr, sub_kind::filter_primary);
    }
    return true;
}

// OrExpr, AndExpr, EqualityExpr, RelationalExpr, MultiplicativeExpr:
// Operand (Operator Operand)?   A second operator of the same level is left unconsumed.
bool grammar_walker::decode_single_operator(bool record, grammar_rule rule, grammar_rule operand,
                                            const operator_lexeme* operators, int operator_count,
                                            sub_kind no_operator) {
    if (!decode_rule(operand, record)) return false;
    for (int i = 0; i < operator_count; ++i) {
        if (!current_is(operators[i].lexeme)) continue;
        advance_cursor(1);
        if (!decode_rule(operand, record)) return false;
        record_when(record, rule, operators[i].recorded);
        return true;
    }
    record_when(record, rule, no_operator);
    return true;
}

// AdditiveExpr: MultiplicativeExpr (('+' | '-') MultiplicativeExpr)*   left to right
bool grammar_walker::decode_additive_expr(bool record) {
    if (!decode_rule(grammar_rule::MultiplicativeExpr, record)) return false;
    bool first = true;
    for (;;) {
        sub_kind recorded;
        if (current_is(lex_class::minus))
            recorded = first ? sub_kind::first_minus : sub_kind::next_minus;
        else if (current_is(lex_class::plus))
            recorded = first ? sub_kind::first_plus : sub_kind::next_plus;
        else
            break;
        advance_cursor(1);
        if (!decode_rule(grammar_rule::MultiplicativeExpr, record)) return false;
        record_when(record, grammar_rule::AdditiveExpr, recorded);
        first = false;
    }
    if (first) record_when(record, grammar_rule::AdditiveExpr, sub_kind::no_additive);
    return true;
}

// UnaryExpr: UnionExpr | '-' UnaryExpr
// A run of signs is decoded in a loop, each sign's nested UnaryExpr counted as
// a rule entry; the negations are recorded after the operand, one per sign.
bool grammar_walker::decode_unary_expr(bool record) {
    std::int32_t signs = 0;
    while (current_is(lex_class::minus)) {
        advance_cursor(1);
        count_rule_entry();
        ++signs;
    }
    if (!decode_rule(grammar_rule::UnionExpr, record)) return false;
    record_when(record, grammar_rule::UnaryExpr, sub_kind::no_negation);
    for (; signs > 0; --signs) record_when(record, grammar_rule::UnaryExpr, sub_kind::negation);
    return true;
}

// VariableReference: '$' QName   (the name reaches the log through QName's actions)
bool grammar_walker::decode_variable_reference(bool record) {
    if (!cursor || !lexeme_after_cursor(1) || !current_is(lex_class::dollar)) return false;
    advance_cursor(1);
    if (!decode_rule(grammar_rule::QName, record)) return false;
    record_when(record, grammar_rule::VariableReference, 0);
    return true;
}

// NameTest: '*' | NCName ':' '*' | QName   (the prefix of "p:*" is not recorded)
bool grammar_walker::decode_name_test(bool record) {
    if (!cursor) return false;
    if (current_is(lex_class::star)) {
        advance_cursor(1);
        record_when(record, grammar_rule::NameTest, sub_kind::any_name);
        return true;
    }
    if (!current_is(lex_class::ncname)) return false;
    lexeme* one_ahead = lexeme_after_cursor(1);
    lexeme* two_ahead = lexeme_after_cursor(2);
    if (one_ahead && two_ahead && one_ahead->kind == lex_class::colon && two_ahead->kind == lex_class::star) {
        advance_cursor(3);
        record_when(record, grammar_rule::NameTest, sub_kind::prefix_any_name);
        return true;
    }
    if (!decode_rule(grammar_rule::QName, record)) return false;
    record_when(record, grammar_rule::NameTest, sub_kind::qualified_name_test);
    return true;
}

// QName: (Prefix ':')? LocalPart
bool grammar_walker::decode_qname(bool record) {
    if (!current_is(lex_class::ncname)) return false;
    lexeme* one_ahead = lexeme_after_cursor(1);
    if (one_ahead && one_ahead->kind == lex_class::colon) {
        lexeme* two_ahead = lexeme_after_cursor(2);
        if (!two_ahead || two_ahead->kind != lex_class::ncname) return false;
        record_when(record, grammar_rule::Prefix, 0, 0, cursor->text.c_str());
        record_when(record, grammar_rule::LocalPart, 0, 0, two_ahead->text.c_str());
        record_when(record, grammar_rule::QName, sub_kind::prefixed_qname);
        advance_cursor(3);
        return true;
    }
    record_when(record, grammar_rule::LocalPart, 0, 0, cursor->text.c_str());
    record_when(record, grammar_rule::QName, sub_kind::plain_qname);
    advance_cursor(1);
    return true;
}

std::int32_t evaluator_walker::record_action(std::int32_t rule, std::int32_t sub_kind, std::int32_t variant,
                                             const char* literal) {
    return owner.record_action(rule, sub_kind, variant, literal);
}

std::int32_t evaluator_walker::action_count() {
    return owner.action_count();
}

}  // namespace xpath
