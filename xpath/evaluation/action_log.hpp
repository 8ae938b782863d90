// action_log: every action that the grammar walker records, in recording
// order; the executor reads it back from the end with the log's cursor and
// jumps to earlier positions to evaluate the parts of a construct. The
// accessors below the class name what an action's variant means per rule.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "front_end/action_codes.hpp"
#include "xpath/xpath.hpp"

namespace xpath {

// The log's entries are the records a trace shows, so a trace copies them as they are.
using recorded_action = action_record;

class action_log {
public:
    // Appends a copy of the action; returns the new count.
    std::int32_t record_action(std::int32_t rule, std::int32_t sub_kind, std::int32_t variant, const char* literal);
    std::int32_t action_count() const { return static_cast<std::int32_t>(actions_.size()); }

    // The action at `index`, valid while the log is not recorded to. An index
    // outside the log reads as an action of rule 0, which no construct has,
    // so the executor rejects it.
    const recorded_action& read_action(std::int32_t index) const {
        if (index < 0 || index >= action_count()) return outside_the_log;
        return actions_[static_cast<std::size_t>(index)];
    }
    // read_action at the cursor, then the cursor moves one action down.
    const recorded_action& take_action() { return read_action(action_cursor_--); }

    // The position that take_action reads next; -1 once the first action is taken.
    std::int32_t cursor() const { return action_cursor_; }
    // Sets the cursor to a recorded position, to run a construct's parts out of order.
    void move_cursor_to(std::int32_t index) { action_cursor_ = index; }
    // Sets the cursor to the last action recorded, the whole expression's.
    void move_cursor_to_last() { action_cursor_ = action_count() - 1; }

private:
    std::int32_t action_cursor_ = 0;
    static const recorded_action outside_the_log;
    std::vector<recorded_action> actions_;
};

// What the variant holds, by rule. Each accessor is for the rules it names
// and checks that it got one of them (action_out_of_place otherwise), so
// that a field is never read with another rule's meaning.
void require_variant_of(const recorded_action& action, std::initializer_list<grammar_rule> rules);

// FunctionCall: the number of arguments.
inline std::int32_t argument_count(const recorded_action& call) {
    require_variant_of(call, {grammar_rule::FunctionCall});
    return call.variant;
}
// Step: the number of predicates.
inline std::int32_t predicate_count(const recorded_action& step) {
    require_variant_of(step, {grammar_rule::Step});
    return step.variant;
}
// AbsoluteLocationPath and RelativeLocationPath: the log position of the
// path's first action.
inline std::int32_t first_action_position(const recorded_action& path) {
    require_variant_of(path, {grammar_rule::AbsoluteLocationPath, grammar_rule::RelativeLocationPath});
    return path.variant;
}
// AxisName and NodeTest with a node type: the keyword's lex_class code.
inline std::int32_t lexeme_class(const recorded_action& keyword) {
    require_variant_of(keyword, {grammar_rule::AxisName, grammar_rule::NodeTest});
    return keyword.variant;
}

}  // namespace xpath
