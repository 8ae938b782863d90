// The fatal report box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fatal_report.hpp"
#include "simulator/device_simulator.hpp"

namespace {

class fatal_report : public ::testing::Test {
protected:
    void SetUp() override {
        device_simulator::reset();
        device_simulator::set_message_box_output(nullptr);
    }
};

}  // namespace

TEST_F(fatal_report, shows_the_site_and_error_in_a_top_most_box) {
    device_simulator::record_calls(true);
    runtime::report_allocation_failure(5059, 8);
    EXPECT_EQ(device_simulator::shown_message_boxes(),
              std::vector<std::string>{"EXCEPTION: Memory allocation failed!\nLine: 5059\nError: 8"});
    std::vector<std::string> calls = device_simulator::take_recorded_calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_NE(calls[0].find(" 0x40000 -> 1"), std::string::npos) << calls[0];
}

TEST_F(fatal_report, a_text_that_does_not_fit_shows_nothing) {
    struct row {
        std::size_t length;
        bool shown;
    };
    const row rows[] = {{0, true}, {1023, true}, {1024, false}, {5000, false}};
    for (const row& r : rows) {
        SCOPED_TRACE(r.length);
        device_simulator::reset();
        device_simulator::set_message_box_output(nullptr);
        std::u16string text(r.length, u'x');
        runtime::show_fatal_report(u"%ls", text.c_str());
        std::vector<std::string> boxes = device_simulator::shown_message_boxes();
        ASSERT_EQ(boxes.size(), r.shown ? 1u : 0u);
        if (r.shown) {
            EXPECT_EQ(boxes[0], "EXCEPTION: " + std::string(r.length, 'x'));
        }
    }
}
