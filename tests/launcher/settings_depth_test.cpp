// The hand-over's read path on a thread with the device's 64 KiB stack:
// settings nested as deep as the document guard allows still hand over their
// language; deeper ones hand over 1, like any file that does not load,
// without running out of stack.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "document_guard/guarded_load.hpp"
#include "language_hand_over.hpp"
#include "support/small_stack_thread.hpp"

namespace {

constexpr std::size_t device_stack_bytes = 64 * 1024;

// A settings file whose elements nest `depth` deep, Settings being the first level.
std::string settings_nested(std::int32_t depth) {
    std::string settings = "<Settings><Language>5</Language>";
    for (std::int32_t i = 1; i < depth; ++i) settings += "<a>";
    for (std::int32_t i = 1; i < depth; ++i) settings += "</a>";
    return settings + "</Settings>";
}

}  // namespace

TEST(settings_depth, deep_settings_on_a_device_stack) {
    struct row {
        std::int32_t depth;
        int language_code;
    };
    const std::int32_t limit = document_guard::document_depth_limit;
    const row rows[] = {{limit, 5}, {limit + 1, 1}, {100000, 1}};
    const std::string path = (std::filesystem::temp_directory_path() /
                             ("settings_depth_" + std::to_string(std::random_device()()) + ".xml")).string();
    for (const row& r : rows) {
        SCOPED_TRACE(r.depth);
        std::ofstream(path, std::ios::binary) << settings_nested(r.depth);
        std::FILE* settings = std::fopen(path.c_str(), "rb");
        ASSERT_NE(settings, nullptr);
        int language_code = -1;
        test_support::stack_run run = test_support::run_on_small_stack(
            device_stack_bytes, [&] { language_code = launcher::read_settings_stream(settings); });
        EXPECT_TRUE(run.finished);
        std::fclose(settings);
        EXPECT_EQ(language_code, r.language_code);
    }
    std::remove(path.c_str());
}
