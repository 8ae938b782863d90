// The action log: recording keeps every action intact as the log grows, reads
// outside the log give the empty action, and take_action walks down.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "evaluation/action_log.hpp"

using xpath::action_log;
using xpath::recorded_action;

namespace {

// Action i carries numbers and a literal derived from i, so any mix-up shows.
void expect_action(const recorded_action& action, std::int32_t i) {
    EXPECT_EQ(action.rule, i + 1);
    EXPECT_EQ(action.sub_kind, i * 2);
    EXPECT_EQ(action.variant, -i);
    EXPECT_EQ(action.literal, i % 3 == 0 ? std::string() : "name" + std::to_string(i));
}

void fill(action_log& log, std::int32_t count) {
    for (std::int32_t i = 0; i < count; ++i) {
        std::string literal = "name" + std::to_string(i);
        std::int32_t new_count = log.record_action(i + 1, i * 2, -i, i % 3 == 0 ? nullptr : literal.c_str());
        ASSERT_EQ(new_count, i + 1);
    }
}

}  // namespace

TEST(action_log, growing_keeps_every_action) {
    const std::int32_t sizes[] = {1, 100, 101, 250};
    for (std::int32_t size : sizes) {
        SCOPED_TRACE(size);
        action_log log;
        fill(log, size);
        ASSERT_EQ(log.action_count(), size);
        for (std::int32_t i = 0; i < size; ++i) expect_action(log.read_action(i), i);
    }
}

TEST(action_log, reads_outside_the_log_give_rule_0) {
    action_log log;
    fill(log, 3);
    const std::int32_t indexes[] = {-1, 3, 4, -2147483647 - 1, 2147483647};
    for (std::int32_t index : indexes) {
        SCOPED_TRACE(index);
        recorded_action action = log.read_action(index);
        EXPECT_EQ(action.rule, 0);
        EXPECT_EQ(action.sub_kind, 0);
        EXPECT_EQ(action.variant, 0);
        EXPECT_EQ(action.literal, "");
    }
    EXPECT_EQ(action_log().read_action(0).rule, 0);
}

TEST(action_log, take_action_walks_down_from_the_cursor) {
    action_log log;
    fill(log, 5);
    log.move_cursor_to(3);
    for (std::int32_t i = 3; i >= 0; --i) {
        SCOPED_TRACE(i);
        expect_action(log.take_action(), i);
        EXPECT_EQ(log.cursor(), i - 1);
    }
    EXPECT_EQ(log.take_action().rule, 0);
    EXPECT_EQ(log.cursor(), -2);
}
