// The rules of the grammar walker, one function per production. Every rule
// records its own action after those of its parts (postfix order), so the
// last action is the whole expression's. A rule either decodes its construct
// or raises a syntax error; nothing is decoded twice, so the work is linear
// in the expression. Chains that the grammar nests (operators, signs, bars,
// steps) are decoded in loops, so the depth of the calls grows only with the
// nesting of Expr, which is bounded.
//
// A keyword's spelling is a name wherever the grammar expects a name: an axis
// name only before "::", a node type only before "(", an operator name only
// after an operand. So "child::child", "a/div div 2" and "text()/text" decode.
#include "grammar_walker.hpp"

#include <cstdio>
#include <limits>

#include "expression_front_end.hpp"
#include "lexer.hpp"

namespace xpath {
namespace {

bool is(const lexeme* l, lex_class kind) {
    return l && l->kind == kind;
}

// An NCName, or a keyword standing where a name may.
bool is_name_like(const lexeme* l) {
    return l && (l->kind == lex_class::ncname || code_of(l->kind) >= code_of(lex_class::kw_or));
}

// Nothing stands between the two lexemes: a QName ("p:a"), "p:*" and a
// variable reference ("$v") are single tokens, with no space inside.
bool adjacent(const lexeme* before, const lexeme* after) {
    return before && after && static_cast<std::size_t>(after->offset) == before->offset + before->text.size();
}

const lexeme* after(const lexeme* l, int n) {
    return lexeme_chain::lexeme_at(const_cast<lexeme*>(l), n);
}

// "p" ":" "name" without spaces.
bool starts_prefixed_name(const lexeme* l) {
    const lexeme* colon = after(l, 1);
    return is_name_like(l) && is(colon, lex_class::colon) && adjacent(l, colon) && adjacent(colon, after(l, 2));
}

// A location step begins here: ".", "..", "@", "*", a name or an axis.
bool starts_step(const lexeme* l) {
    return is(l, lex_class::dot) || is(l, lex_class::double_dot) || is(l, lex_class::at) ||
           is(l, lex_class::star) || is_name_like(l);
}

// A name right before "(". A node type there ("text()") is a node test,
// never a function.
bool starts_function_call(const lexeme* l) {
    if (!is_name_like(l) || is_node_type_class(code_of(l->kind))) return false;
    if (starts_prefixed_name(l)) return is_name_like(after(l, 2)) && is(after(l, 3), lex_class::opening_parenthesis);
    return is(after(l, 1), lex_class::opening_parenthesis);
}

// A filter expression begins here: a variable, "(", a literal, a number or a call.
bool starts_filter(const lexeme* l) {
    return is(l, lex_class::dollar) || is(l, lex_class::opening_parenthesis) || is(l, lex_class::string_literal) ||
           is(l, lex_class::number) || starts_function_call(l);
}

// Error texts quote at most this many bytes of a lexeme, cut at a UTF-8
// character's start, so that a text stays within its buffer and valid.
constexpr int quoted_bytes = 24;

int quoted_length(const lexeme* l) {
    if (l->text.size() <= static_cast<std::size_t>(quoted_bytes)) return static_cast<int>(l->text.size());
    int cut = quoted_bytes;
    while (cut > 0 && (static_cast<unsigned char>(l->text[static_cast<std::size_t>(cut)]) & 0xC0) == 0x80) --cut;
    return cut;
}

// "'b' at column 4" into `out`.
void describe(const lexeme* l, char* out, std::size_t size) {
    int length = quoted_length(l);
    const char* cut = static_cast<std::size_t>(length) < l->text.size() ? "..." : "";
    std::snprintf(out, size, "'%.*s%s' at column %lu", length, l->text.c_str(), cut,
                  static_cast<unsigned long>(l->offset) + 1);
}

}  // namespace

void grammar_walker::record(grammar_rule rule, std::int32_t sub_kind, std::int32_t variant, const char* literal) {
    record_action(code_of(rule), sub_kind, variant, literal);
}

void grammar_walker::record(grammar_rule rule, sub_kind recorded, std::int32_t variant, const char* literal) {
    record(rule, code_of(recorded), variant, literal);
}

void grammar_walker::fail(syntax_code code, const char* expected, const lexeme* mentioned) const {
    fail_at(code, expected, cursor, mentioned);
}

// The text is built here, not in the rules: a string in a rule's frame would
// cost stack at every level of nesting. "<phrase>: <expected>[ 'x' at column
// n], found 'y' at column m", well within the error's 200 bytes.
void grammar_walker::fail_at(syntax_code code, const char* expected, const lexeme* at, const lexeme* mentioned) const {
    char mentioned_text[64] = "";
    if (mentioned) {
        mentioned_text[0] = ' ';
        describe(mentioned, mentioned_text + 1, sizeof mentioned_text - 1);
    }
    char found_text[64] = "the end of the expression";
    if (at) describe(at, found_text, sizeof found_text);
    char text[198];
    std::snprintf(text, sizeof text, "%s: %s%s, found %s", syntax_code_phrase(code_of(code)), expected, mentioned_text,
                  found_text);
    raise_syntax_error(code, text);
}

// The scanner dropped a literal that never closes; nothing after it was scanned.
void grammar_walker::fail_unterminated_literal() const {
    char text[96];
    std::snprintf(text, sizeof text, "%s: expected the closing quote of the literal at column %lu",
                  syntax_code_phrase(code_of(syntax_code::unterminated_literal)),
                  static_cast<unsigned long>(unterminated_literal_offset) + 1);
    raise_syntax_error(syntax_code::unterminated_literal, text);
}

void grammar_walker::decode_expression() {
    refine_lexemes(*this);
    if (unterminated_literal_offset >= 0) fail_unterminated_literal();
    cursor = first();
    if (!cursor) raise_syntax_error(syntax_code::expression_not_decoded, main_level_text);
    rule_entry_count = 0;
    const std::size_t most = std::numeric_limits<std::uint32_t>::max() / rule_entries_per_lexeme - 1;
    std::size_t lexemes = size();
    rule_entry_limit = static_cast<std::uint32_t>((lexemes < most ? lexemes : most) + 1) * rule_entries_per_lexeme;
    nesting_depth = 0;
    path_levels_.clear();
    path_levels_.reserve(8);  // one allocation for the paths of a short expression
    decode_rule(grammar_rule::Expr);
    if (cursor) fail(syntax_code::trailing_lexemes, "expected the end of the expression");
}

void grammar_walker::count_rule_entry() {
    if (++rule_entry_count > rule_entry_limit) raise_syntax_overflow();
}

void grammar_walker::decode_rule(grammar_rule rule) {
    count_rule_entry();
    switch (rule) {
        case grammar_rule::LocationPath: return decode_location_path();
        case grammar_rule::AbsoluteLocationPath: return decode_absolute_location_path();
        case grammar_rule::RelativeLocationPath: return decode_relative_location_path();
        case grammar_rule::Step: return decode_step();
        case grammar_rule::AxisSpecifier: return decode_axis_specifier();
        case grammar_rule::AxisName: return decode_axis_name();
        case grammar_rule::NodeTest: return decode_node_test();
        case grammar_rule::Predicate: return decode_predicate();
        case grammar_rule::PredicateExpr: return decode_predicate_expr();
        case grammar_rule::AbbreviatedAbsoluteLocationPath: return decode_abbreviated_absolute_location_path();
        case grammar_rule::AbbreviatedStep: return decode_abbreviated_step();
        case grammar_rule::Expr: return decode_expr();
        case grammar_rule::PrimaryExpr: return decode_primary_expr();
        case grammar_rule::FunctionCall: return decode_function_call();
        case grammar_rule::Argument: return decode_argument();
        case grammar_rule::UnionExpr: return decode_union_expr();
        case grammar_rule::PathExpr: return decode_path_expr();
        case grammar_rule::FilterExpr: return decode_filter_expr();
        case grammar_rule::OrExpr: {
            static const operator_lexeme operators[] = {{lex_class::kw_or, sub_kind::or_op, sub_kind::or_op}};
            return decode_operator_chain(rule, grammar_rule::AndExpr, operators, 1, sub_kind::no_or);
        }
        case grammar_rule::AndExpr: {
            static const operator_lexeme operators[] = {{lex_class::kw_and, sub_kind::and_op, sub_kind::and_op}};
            return decode_operator_chain(rule, grammar_rule::EqualityExpr, operators, 1, sub_kind::no_and);
        }
        case grammar_rule::EqualityExpr: {
            static const operator_lexeme operators[] = {
                {lex_class::equal, sub_kind::equal_op, sub_kind::equal_op},
                {lex_class::not_equal, sub_kind::not_equal_op, sub_kind::not_equal_op}};
            return decode_operator_chain(rule, grammar_rule::RelationalExpr, operators, 2, sub_kind::no_equality);
        }
        case grammar_rule::RelationalExpr: {
            static const operator_lexeme operators[] = {
                {lex_class::less_than, sub_kind::less_op, sub_kind::less_op},
                {lex_class::greater_than, sub_kind::greater_op, sub_kind::greater_op},
                {lex_class::less_or_equal, sub_kind::less_equal_op, sub_kind::less_equal_op},
                {lex_class::greater_or_equal, sub_kind::greater_equal_op, sub_kind::greater_equal_op}};
            return decode_operator_chain(rule, grammar_rule::AdditiveExpr, operators, 4, sub_kind::no_relational);
        }
        case grammar_rule::AdditiveExpr: {
            static const operator_lexeme operators[] = {
                {lex_class::minus, sub_kind::first_minus, sub_kind::next_minus},
                {lex_class::plus, sub_kind::first_plus, sub_kind::next_plus}};
            return decode_operator_chain(rule, grammar_rule::MultiplicativeExpr, operators, 2,
                                         sub_kind::no_additive);
        }
        case grammar_rule::MultiplicativeExpr: {
            static const operator_lexeme operators[] = {
                {lex_class::star, sub_kind::multiply_op, sub_kind::multiply_op},
                {lex_class::kw_div, sub_kind::div_op, sub_kind::div_op},
                {lex_class::kw_mod, sub_kind::mod_op, sub_kind::mod_op}};
            return decode_operator_chain(rule, grammar_rule::UnaryExpr, operators, 3, sub_kind::no_multiplicative);
        }
        case grammar_rule::UnaryExpr: return decode_unary_expr();
        case grammar_rule::VariableReference: return decode_variable_reference();
        case grammar_rule::NameTest: return decode_name_test();
        case grammar_rule::QName: return decode_qname();
        case grammar_rule::AbbreviatedAxisSpecifier:
        case grammar_rule::Prefix:
        case grammar_rule::LocalPart: return;  // only recorded by the rules above, never decoded alone
    }
}

// LocationPath: RelativeLocationPath | AbsoluteLocationPath
void grammar_walker::decode_location_path() {
    if (current_is(lex_class::slash) || current_is(lex_class::double_slash)) {
        decode_rule(grammar_rule::AbsoluteLocationPath);
        record(grammar_rule::LocationPath, sub_kind::absolute_location);
    } else {
        decode_rule(grammar_rule::RelativeLocationPath);
        record(grammar_rule::LocationPath, sub_kind::relative_location);
    }
}

// AbsoluteLocationPath: '/' RelativeLocationPath? | AbbreviatedAbsoluteLocationPath
// The variant is the log position of the path's first action. After "/" a
// path follows exactly when a step can begin there, so "count(/)" and
// "/ | a" hold the root-only path.
void grammar_walker::decode_absolute_location_path() {
    std::int32_t first_action = action_count();
    if (current_is(lex_class::slash)) {
        advance_cursor(1);
        if (starts_step(cursor)) {
            decode_rule(grammar_rule::RelativeLocationPath);
            record(grammar_rule::AbsoluteLocationPath, sub_kind::root_and_relative, first_action);
        } else {
            record(grammar_rule::AbsoluteLocationPath, sub_kind::root_only, first_action);
        }
        return;
    }
    decode_rule(grammar_rule::AbbreviatedAbsoluteLocationPath);
    record(grammar_rule::AbsoluteLocationPath, sub_kind::root_abbreviated, first_action);
}

// RelativeLocationPath: Step (('/' | '//') RelativeLocationPath)?
// Nests to the right; the variant is the log position of the path's first
// action. The nested paths are decoded in a loop, each counted as the rule
// entry it stands for, and their actions recorded innermost first afterwards.
void grammar_walker::decode_relative_location_path() {
    const std::size_t base = path_levels_.size();
    for (;;) {
        path_level level{action_count(), sub_kind::single_step};
        decode_rule(grammar_rule::Step);
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
        record(grammar_rule::RelativeLocationPath, path_levels_.back().separator, path_levels_.back().first_action);
        path_levels_.pop_back();
    }
}

// Step: AxisSpecifier NodeTest Predicate* | AbbreviatedStep
void grammar_walker::decode_step() {
    if (!starts_step(cursor)) fail(syntax_code::missing_step, "expected a location step");
    if (current_is(lex_class::dot) || current_is(lex_class::double_dot)) {
        decode_rule(grammar_rule::AbbreviatedStep);
        record(grammar_rule::Step, sub_kind::abbreviated_step);
        return;
    }
    decode_rule(grammar_rule::AxisSpecifier);
    decode_rule(grammar_rule::NodeTest);
    std::int32_t predicates = 0;
    for (; current_is(lex_class::opening_bracket); ++predicates) decode_rule(grammar_rule::Predicate);
    record(grammar_rule::Step, sub_kind::full_step, predicates);
}

// AxisSpecifier: AxisName '::' | AbbreviatedAxisSpecifier
// Any name before "::" stands for an axis, so "foo::a" is an unknown axis.
void grammar_walker::decode_axis_specifier() {
    if (current_is(lex_class::at)) {
        advance_cursor(1);
        record(grammar_rule::AxisSpecifier, sub_kind::attribute_axis);
        return;
    }
    if (is_name_like(cursor) && is(lexeme_after_cursor(1), lex_class::double_colon)) {
        decode_rule(grammar_rule::AxisName);
        advance_cursor(1);
        record(grammar_rule::AxisSpecifier, sub_kind::named_axis);
        return;
    }
    record(grammar_rule::AbbreviatedAxisSpecifier, no_axis_written);
    record(grammar_rule::AxisSpecifier, sub_kind::default_axis);
}

// AxisName: one of the thirteen axis keywords; the variant is its lex_class.
void grammar_walker::decode_axis_name() {
    if (!cursor || !is_axis_class(code_of(cursor->kind)))
        fail(syntax_code::unknown_axis, "expected one of the thirteen axis names before '::'");
    record(grammar_rule::AxisName, single_form, code_of(cursor->kind));
    advance_cursor(1);
}

// NodeTest: NameTest | NodeType '(' ')' | 'processing-instruction' '(' Literal ')'
// A node type's spelling before anything but "(" is a name test.
void grammar_walker::decode_node_test() {
    if (cursor && is_node_type_class(code_of(cursor->kind)) &&
        is(lexeme_after_cursor(1), lex_class::opening_parenthesis)) {
        decode_node_type_test();
        return;
    }
    decode_rule(grammar_rule::NameTest);
    record(grammar_rule::NodeTest, sub_kind::name_node_test);
}

// The node type at the cursor with its parentheses; the variant is its lex_class.
void grammar_walker::decode_node_type_test() {
    std::int32_t kind = code_of(cursor->kind);
    const lexeme* inside = lexeme_after_cursor(2);
    if (is(inside, lex_class::closing_parenthesis)) {
        record(grammar_rule::NodeTest, cursor->kind == lex_class::type_processing_instruction ? sub_kind::pi_test
                                                                                             : sub_kind::node_type_test,
               kind);
        advance_cursor(3);
        return;
    }
    if (cursor->kind != lex_class::type_processing_instruction)
        fail_at(syntax_code::malformed_node_test, "expected ')' after", inside, cursor);
    if (!is(inside, lex_class::string_literal) || !is(after(inside, 1), lex_class::closing_parenthesis))
        fail_at(syntax_code::malformed_node_test, "expected a literal and ')' after",
                is(inside, lex_class::string_literal) ? after(inside, 1) : inside, cursor);
    record(grammar_rule::NodeTest, sub_kind::pi_literal_test, kind, inside->text.c_str());
    advance_cursor(4);
}

// Predicate: '[' PredicateExpr ']'
void grammar_walker::decode_predicate() {
    const lexeme* opening = cursor;
    advance_cursor(1);
    if (!cursor) fail(syntax_code::unclosed_predicate, "expected an expression and ']' after the", opening);
    if (current_is(lex_class::closing_bracket))
        fail(syntax_code::empty_predicate, "expected an expression inside the", opening);
    decode_rule(grammar_rule::PredicateExpr);
    if (!current_is(lex_class::closing_bracket))
        fail(syntax_code::unclosed_predicate, "expected ']' to close the", opening);
    advance_cursor(1);
    record(grammar_rule::Predicate, single_form);
}

// PredicateExpr: Expr
void grammar_walker::decode_predicate_expr() {
    decode_rule(grammar_rule::Expr);
    record(grammar_rule::PredicateExpr, single_form);
}

// AbbreviatedAbsoluteLocationPath: '//' RelativeLocationPath
void grammar_walker::decode_abbreviated_absolute_location_path() {
    advance_cursor(1);
    decode_rule(grammar_rule::RelativeLocationPath);
    record(grammar_rule::AbbreviatedAbsoluteLocationPath, single_form);
}

// AbbreviatedStep: '.' | '..'
void grammar_walker::decode_abbreviated_step() {
    std::int32_t recorded = current_is(lex_class::dot) ? dot_step : double_dot_step;
    advance_cursor(1);
    record(grammar_rule::AbbreviatedStep, recorded);
}

// Expr: OrExpr
// Past the nesting bound the decode ends as it does past the entry bound.
void grammar_walker::decode_expr() {
    if (nesting_depth > nesting_limit) raise_syntax_overflow();
    ++nesting_depth;
    decode_rule(grammar_rule::OrExpr);
    --nesting_depth;
    record(grammar_rule::Expr, single_form);
}

// PrimaryExpr: VariableReference | '(' Expr ')' | Literal | Number | FunctionCall
void grammar_walker::decode_primary_expr() {
    switch (cursor->kind) {
        case lex_class::dollar:
            decode_rule(grammar_rule::VariableReference);
            record(grammar_rule::PrimaryExpr, sub_kind::variable_primary);
            return;
        case lex_class::opening_parenthesis: {
            const lexeme* opening = cursor;
            advance_cursor(1);
            if (!cursor)
                fail(syntax_code::unclosed_parenthesis, "expected an expression and ')' after the", opening);
            decode_rule(grammar_rule::Expr);
            if (!current_is(lex_class::closing_parenthesis))
                fail(syntax_code::unclosed_parenthesis, "expected ')' to close the", opening);
            advance_cursor(1);
            record(grammar_rule::PrimaryExpr, sub_kind::parenthesised_primary);
            return;
        }
        case lex_class::number:
            record(grammar_rule::PrimaryExpr, sub_kind::number_primary, 0, cursor->text.c_str());
            advance_cursor(1);
            return;
        case lex_class::string_literal:
            record(grammar_rule::PrimaryExpr, sub_kind::literal_primary, 0, cursor->text.c_str());
            advance_cursor(1);
            return;
        default:
            decode_rule(grammar_rule::FunctionCall);
            record(grammar_rule::PrimaryExpr, sub_kind::call_primary);
            return;
    }
}

// FunctionCall: FunctionName '(' ( Argument ( ',' Argument )* )? ')'
void grammar_walker::decode_function_call() {
    const lexeme* name = cursor;
    decode_rule(grammar_rule::QName);
    advance_cursor(1);  // "(", which made this a call
    if (!cursor) fail(syntax_code::unclosed_call, "expected arguments or ')' in the call of", name);
    if (current_is(lex_class::closing_parenthesis)) {
        advance_cursor(1);
        record(grammar_rule::FunctionCall, call_without_arguments);
        return;
    }
    decode_argument_list(name);
}

// The arguments after "(" up to and with ")".
void grammar_walker::decode_argument_list(const lexeme* name) {
    std::int32_t arguments = 0;
    for (;;) {
        decode_rule(grammar_rule::Argument);
        ++arguments;
        if (!current_is(lex_class::comma)) break;
        advance_cursor(1);
    }
    if (!current_is(lex_class::closing_parenthesis))
        fail(syntax_code::unclosed_call, "expected ',' or ')' in the call of", name);
    advance_cursor(1);
    record(grammar_rule::FunctionCall, call_with_arguments, arguments);
}

// Argument: Expr
void grammar_walker::decode_argument() {
    decode_rule(grammar_rule::Expr);
    record(grammar_rule::Argument, single_form);
}

// UnionExpr: PathExpr ('|' UnionExpr)?   (nests to the right)
// Decoded in a loop: each bar's nested UnionExpr counts as a rule entry, and
// the actions come out as the nesting records them, innermost first.
void grammar_walker::decode_union_expr() {
    std::int32_t bars = 0;
    for (;;) {
        decode_rule(grammar_rule::PathExpr);
        if (!current_is(lex_class::or_character)) break;
        advance_cursor(1);
        count_rule_entry();
        ++bars;
    }
    record(grammar_rule::UnionExpr, sub_kind::union_single);
    for (; bars > 0; --bars) record(grammar_rule::UnionExpr, sub_kind::union_bar);
}

// PathExpr: FilterExpr (('/' | '//') RelativeLocationPath)? | LocationPath
// The first lexemes tell the two apart: a filter begins with "$", "(", a
// literal, a number or a name before "(".
void grammar_walker::decode_path_expr() {
    if (starts_filter(cursor)) {
        decode_rule(grammar_rule::FilterExpr);
        sub_kind recorded = current_is(lex_class::slash)          ? sub_kind::path_filter_slash
                            : current_is(lex_class::double_slash) ? sub_kind::path_filter_double_slash
                                                                  : sub_kind::path_filter;
        if (recorded != sub_kind::path_filter) {
            advance_cursor(1);
            decode_rule(grammar_rule::RelativeLocationPath);
        }
        record(grammar_rule::PathExpr, recorded);
        return;
    }
    if (!current_is(lex_class::slash) && !current_is(lex_class::double_slash) && !starts_step(cursor))
        fail(syntax_code::missing_operand, "expected an operand");
    decode_rule(grammar_rule::LocationPath);
    record(grammar_rule::PathExpr, sub_kind::path_location);
}

// FilterExpr: PrimaryExpr | FilterExpr Predicate
// Each predicate records its own FilterExpr action over the one before it.
void grammar_walker::decode_filter_expr() {
    decode_rule(grammar_rule::PrimaryExpr);
    if (!current_is(lex_class::opening_bracket)) {
        record(grammar_rule::FilterExpr, sub_kind::filter_primary);
        return;
    }
    while (current_is(lex_class::opening_bracket)) {
        decode_rule(grammar_rule::Predicate);
        record(grammar_rule::FilterExpr, sub_kind::filter_predicate);
    }
}

// OrExpr, AndExpr, EqualityExpr, RelationalExpr, AdditiveExpr, MultiplicativeExpr:
// Operand (Operator Operand)*, left to right. "1 - 2 + 3" records the actions
// of 1, of 2, the first operator, of 3, the further operator: each operator
// after its right operand, with the chain before it as its left operand.
void grammar_walker::decode_operator_chain(grammar_rule rule, grammar_rule operand, const operator_lexeme* operators,
                                           int operator_count, sub_kind no_operator) {
    decode_rule(operand);
    bool first = true;
    for (;;) {
        const operator_lexeme* found_operator = nullptr;
        for (int i = 0; i < operator_count && !found_operator; ++i)
            if (current_is(operators[i].lexeme)) found_operator = &operators[i];
        if (!found_operator) break;
        advance_cursor(1);
        decode_rule(operand);
        record(rule, first ? found_operator->first : found_operator->further);
        first = false;
    }
    if (first) record(rule, no_operator);
}

// UnaryExpr: UnionExpr | '-' UnaryExpr
// A run of signs is decoded in a loop, each sign's nested UnaryExpr counted as
// a rule entry; the negations are recorded after the operand, one per sign.
void grammar_walker::decode_unary_expr() {
    std::int32_t signs = 0;
    while (current_is(lex_class::minus)) {
        advance_cursor(1);
        count_rule_entry();
        ++signs;
    }
    decode_rule(grammar_rule::UnionExpr);
    record(grammar_rule::UnaryExpr, sub_kind::no_negation);
    for (; signs > 0; --signs) record(grammar_rule::UnaryExpr, sub_kind::negation);
}

// VariableReference: '$' QName   (the name reaches the log through QName's actions)
void grammar_walker::decode_variable_reference() {
    const lexeme* dollar = cursor;
    advance_cursor(1);
    if (!is_name_like(cursor) || !adjacent(dollar, cursor))
        fail(syntax_code::incomplete_name, "expected a variable name right after the", dollar);
    decode_rule(grammar_rule::QName);
    record(grammar_rule::VariableReference, single_form);
}

// NameTest: '*' | NCName ':' '*' | QName   (the prefix of "p:*" is not recorded)
void grammar_walker::decode_name_test() {
    if (current_is(lex_class::star)) {
        advance_cursor(1);
        record(grammar_rule::NameTest, sub_kind::any_name);
        return;
    }
    if (!is_name_like(cursor)) fail(syntax_code::missing_step, "expected a node test");
    const lexeme* colon = lexeme_after_cursor(1);
    if (is(colon, lex_class::colon) && adjacent(cursor, colon) && is(after(colon, 1), lex_class::star) &&
        adjacent(colon, after(colon, 1))) {
        advance_cursor(3);
        record(grammar_rule::NameTest, sub_kind::prefix_any_name);
        return;
    }
    decode_rule(grammar_rule::QName);
    record(grammar_rule::NameTest, sub_kind::qualified_name_test);
}

// QName: (Prefix ':')? LocalPart   (one token: no space around the colon)
void grammar_walker::decode_qname() {
    const lexeme* colon = lexeme_after_cursor(1);
    if (!is(colon, lex_class::colon) || !adjacent(cursor, colon)) {
        record(grammar_rule::LocalPart, single_form, 0, cursor->text.c_str());
        record(grammar_rule::QName, sub_kind::plain_qname);
        advance_cursor(1);
        return;
    }
    const lexeme* local = after(colon, 1);
    if (!is_name_like(local) || !adjacent(colon, local))
        fail_at(syntax_code::incomplete_name, "expected a name right after the", local, colon);
    record(grammar_rule::Prefix, single_form, 0, cursor->text.c_str());
    record(grammar_rule::LocalPart, single_form, 0, local->text.c_str());
    record(grammar_rule::QName, sub_kind::prefixed_qname);
    advance_cursor(3);
}

std::int32_t evaluator_walker::record_action(std::int32_t rule, std::int32_t sub_kind, std::int32_t variant,
                                             const char* literal) {
    return owner.record_action(rule, sub_kind, variant, literal);
}

std::int32_t evaluator_walker::action_count() {
    return owner.action_count();
}
}  // namespace xpath
