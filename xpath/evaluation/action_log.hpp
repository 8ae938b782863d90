// action_log: every action that the grammar walker records, in recording
// order; the executor reads it back from the end with action_cursor and
// jumps to earlier positions to evaluate the parts of a construct.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace xpath {

struct recorded_action {
    std::int32_t rule = 0;      // grammar_rule code
    std::int32_t sub_kind = 0;  // which form of the rule
    std::int32_t variant = 0;   // a log position, a count or a lex_class code, by rule
    std::string literal;        // a name, literal or number text; mostly empty
};

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
    const recorded_action& take_action() { return read_action(action_cursor--); }

    std::int32_t action_cursor = 0;

private:
    static const recorded_action outside_the_log;
    std::vector<recorded_action> actions_;
};

}  // namespace xpath
