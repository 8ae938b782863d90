// The heap's site codes: each number keeps its name, and no other number has
// one. The table is written out by hand, so that a renumbered site shows here.
#include <gtest/gtest.h>

#include <set>

#include "heap_site.hpp"

TEST(heap_site, every_site_keeps_its_number_and_name) {
    struct row { int number; const char* name; };
    const row rows[] = {
        {4840, "first_region_record"}, {4886, "rest_commit_null"},  {4893, "rest_commit_moved"},
        {4987, "region_reserve"},      {5031, "new_region_record"}, {5059, "pages_commit_null"},
        {5066, "pages_commit_moved"},  {5101, "region_release"},    {5113, "region_record_drop"},
        {5141, "pages_decommit"},      {5210, "separate_reserve"},  {5227, "separate_commit"},
        {5268, "separate_release"},
    };
    std::set<int> listed;
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        const char* name = runtime::heap_site_name(r.number);
        ASSERT_NE(name, nullptr);
        EXPECT_STREQ(name, r.name);
        listed.insert(r.number);
    }
    for (int number = 4800; number <= 5300; ++number) {
        SCOPED_TRACE(number);
        EXPECT_EQ(runtime::heap_site_name(number) != nullptr, listed.count(number) == 1);
    }
}
