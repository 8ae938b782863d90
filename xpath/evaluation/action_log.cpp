// The action log.
#include "action_log.hpp"

#include "evaluation_errors.hpp"

namespace xpath {
namespace {

// Room for the actions of a short expression (the launcher's records 33), so
// that recording grows the log at most rarely.
constexpr std::size_t reserved_actions = 64;

}  // namespace

const recorded_action action_log::outside_the_log{};

std::int32_t action_log::record_action(std::int32_t rule, std::int32_t sub_kind, std::int32_t variant,
                                       const char* literal) {
    if (actions_.capacity() == 0) actions_.reserve(reserved_actions);
    actions_.emplace_back();
    recorded_action& added = actions_.back();
    added.rule = rule;
    added.sub_kind = sub_kind;
    added.variant = variant;
    if (literal && *literal) added.literal.assign(literal);
    return action_count();
}

void require_variant_of(const recorded_action& action, std::initializer_list<grammar_rule> rules) {
    for (grammar_rule rule : rules)
        if (action.rule == code_of(rule)) return;
    raise_execution_error(execution_code::action_out_of_place);
}

}  // namespace xpath
