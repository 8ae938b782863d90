// The action log.
#include "action_log.hpp"

namespace xpath {

std::int32_t action_log::record_action(std::int32_t rule, std::int32_t sub_kind, std::int32_t variant,
                                       const char* literal) {
    actions_.push_back(recorded_action{rule, sub_kind, variant, literal ? literal : ""});
    return action_count();
}

recorded_action action_log::read_action(std::int32_t index) const {
    if (index < 0 || index >= action_count()) return recorded_action{};
    return actions_[static_cast<std::size_t>(index)];
}

recorded_action action_log::take_action() {
    recorded_action action = read_action(action_cursor);
    --action_cursor;
    return action;
}

}  // namespace xpath
