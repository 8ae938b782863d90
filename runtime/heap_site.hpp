// Every site code that the private heap shows in its fatal report ("Line:
// <site>"), listed once with its meaning. The numbers are what users and
// support read in the box; they never change.
#pragma once

namespace runtime {

enum class heap_site : int {
    first_region_record = 4840,     // creating the first, all-zero region record failed
    rest_commit_null = 4886,        // committing the rest of the head region returned null
    rest_commit_moved = 4893,       // that commit did not begin at the committed top
    region_reserve = 4987,          // reserving a new region failed, even with a one-page unit
    new_region_record = 5031,       // recording a new region failed
    pages_commit_null = 5059,       // committing the needed pages returned null
    pages_commit_moved = 5066,      // that commit did not begin at the committed top
    region_release = 5101,          // releasing a whole region while shrinking failed
    region_record_drop = 5113,      // dropping that region's record failed
    pages_decommit = 5141,          // decommitting pages while shrinking failed
    separate_reserve = 5210,        // reserving a separate region failed (the commit goes on)
    separate_commit = 5227,         // committing a separate region failed
    separate_release = 5268,        // releasing a separate region failed
};

constexpr int code_of(heap_site site) { return static_cast<int>(site); }

// The site's name as written above ("pages_commit_null"), or null for a
// number that is not a site.
const char* heap_site_name(int site);

}  // namespace runtime
