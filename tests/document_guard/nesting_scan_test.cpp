// The nesting scan against hand-counted documents: what it counts as a level,
// what it skips, where it gives up, and that the way the bytes are cut into
// pieces changes nothing.
#include <gtest/gtest.h>

#include <string>

#include "nesting_scan.hpp"

namespace {

constexpr std::int32_t limit = 3;

struct row {
    const char* document;
    std::int32_t deepest;  // with the limit 3; 4 means it gave up
};

const row rows[] = {
    {"", 0},
    {"<a/>", 1},
    {"<a><b/><c></c></a>", 2},
    {"<a/><a/><a/><a/>", 1},                                   // siblings are no deeper
    {"</x></y><a>", 1},                                        // stray end tags do not go below 0
    {"<a><b><c></c></b></a>", 3},                              // the last legal depth
    {"<a><b><c><d></d></c></b></a>", 4},                       // one past it
    {"<a><b><c><d/></c></b></a>", 4},                          // an empty element is a level too
    {"<a><!-- <b><c><d> --></a>", 1},                          // comment
    {"<a><!-- -> -- <b> --><b/></a>", 2},                      // "->" and "--" without '>' do not end it
    {"<a><![CDATA[<b><c><d>]]></a>", 1},                       // CDATA
    {"<a><![CDATA[ ]> ]]] <b><c> ]]><b/></a>", 2},             // ends only at "]]>"
    {"<a x='/>' y=\"'>\"><b></b></a>", 2},                     // quoted "/>" and '>' are values
    {"<a x=1/><b/>", 1},                                       // "/>" after an unquoted value
    {"<a / ><b><c><d>", 4},                                    // '/' not followed by '>' closes nothing
    {"<?xml version='1.0'?><a><?pi ?><b/></a>", 2},            // declaration, processing instruction
    {"<!DOCTYPE a [<!ELEMENT a ANY>]><a><b/></a>", 2},         // a declaration ends at its first '>'
    {"<a><?pi > <b><c><d> ?>", 4},                             // ... so does a processing instruction
    {"<a><!-x <b><c><d>", 3},                                  // "<!-" is not a comment
    {"<a><![CDAT <b><c>", 2},                                  // "<![CDAT" is not CDATA
    {"<a>< b>", 2},                                            // anything else after '<' opens
};

std::int32_t deepest_fed_in_pieces(const std::string& document, std::size_t piece_bytes, bool& too_deep) {
    document_guard::nesting_scan scan(limit);
    for (std::size_t at = 0; at < document.size(); at += piece_bytes)
        scan.feed(document.data() + at, std::min(piece_bytes, document.size() - at));
    too_deep = scan.too_deep();
    return scan.deepest();
}

}  // namespace

TEST(nesting_scan, counts_levels_and_skips_the_rest) {
    for (const row& r : rows) {
        SCOPED_TRACE(r.document);
        std::string document = r.document;
        for (std::size_t piece_bytes : {document.size() + 1, std::size_t{1}, std::size_t{2}, std::size_t{5}}) {
            SCOPED_TRACE(piece_bytes);
            bool too_deep = false;
            EXPECT_EQ(deepest_fed_in_pieces(document, piece_bytes, too_deep), r.deepest);
            EXPECT_EQ(too_deep, r.deepest > limit);
        }
    }
}

TEST(nesting_scan, gives_up_at_the_first_level_past_the_limit) {
    document_guard::nesting_scan scan(limit);
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<a>";
    scan.feed(deep.data(), deep.size());
    EXPECT_TRUE(scan.too_deep());
    EXPECT_EQ(scan.deepest(), limit + 1);
}
