// Location steps through whole evaluations: every axis from every kind of
// context node, node tests that filter, proximity positions counted in each
// axis's direction, ".", "..", "//" and the root node, predicates on every
// step (several, nested), filter expressions and prefixed names. Results are
// in document order without duplicates, as the rows list them.
#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <string>

#include "evaluation_helpers.hpp"

using test_support::describe;
using test_support::describe_at;

namespace {

// Pre-order under the temporary root (1): r 2 (@id, @k), a 3, "x" 4, b 5 (@z),
// "y" 6, c 7, comment k 8, d 9, e 10, instruction pi 11, p 12, "t1" 13, p 14, "t2" 15.
const char* const tree_xml =
    "<r id='1' k='v'><a>x<b z='2'>y</b></a><c/><!--k--><d><e/></d><?pi data?><p>t1</p><p>t2</p></r>";

// Settings holds two comments, a text, two Language elements and a Region.
const char* const settings_xml =
    "<Settings version='3' mode='fast'><!--c1-->lead"
    "<Language code='en'>7</Language>"
    "<Language code='de'>8<Note>n</Note></Language>"
    "<Region><City>Oslo</City><Town><Street/></Town><City>Rome</City></Region>"
    "<!--c2--></Settings>";

struct row {
    const char* expression;
    const char* outcome;
};

void check_rows(const char* xml, const row* rows, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        SCOPED_TRACE(rows[i].expression);
        EXPECT_EQ(describe(xml, rows[i].expression), rows[i].outcome);
    }
}

template <std::size_t n>
void check_rows(const char* xml, const row (&rows)[n]) {
    check_rows(xml, rows, n);
}

}  // namespace

TEST(location_steps, every_axis_from_an_element) {
    const row rows[] = {
        {"/r/a/child::node()", "ok nodes: text x, element b"},
        {"/r/attribute::node()", "ok nodes: attribute id=1, attribute k=v"},
        {"/r/namespace::node()", "ok nodes: empty"},
        {"/r/a/self::node()", "ok nodes: element a"},
        {"/r/a/b/parent::node()", "ok nodes: element a"},
        {"/r/a/b/ancestor::node()", "ok nodes: root, element r, element a"},
        {"/r/a/b/ancestor-or-self::node()", "ok nodes: root, element r, element a, element b"},
        {"/r/a/descendant::node()", "ok nodes: text x, element b, text y"},
        {"/r/a/descendant-or-self::node()", "ok nodes: element a, text x, element b, text y"},
        {"/r/a/b/following::node()",
         "ok nodes: element c, comment k, element d, element e, other ?pi data?, element p, text t1, element p, "
         "text t2"},  // the whole rest of the document, the ancestors' later siblings included
        {"/r/c/following-sibling::node()",
         "ok nodes: comment k, element d, other ?pi data?, element p, element p"},
        {"/r/d/e/preceding::node()",
         "ok nodes: element a, text x, element b, text y, element c, comment k"},  // ancestors left out
        {"/r/d/preceding-sibling::node()", "ok nodes: element a, element c, comment k"},
    };
    check_rows(tree_xml, rows);
}

TEST(location_steps, every_axis_from_the_root_node) {
    const row rows[] = {
        {"/child::node()", "ok nodes: element r"},
        {"/attribute::node()", "ok nodes: empty"},
        {"/self::node()", "ok nodes: root"},
        {"/parent::node()", "ok nodes: empty"},
        {"/ancestor::node()", "ok nodes: empty"},
        {"/ancestor-or-self::node()", "ok nodes: root"},
        {"/descendant::text()", "ok nodes: text x, text y, text t1, text t2"},
        {"count(/descendant-or-self::node())", "ok int: 15"},
        {"/following::node()", "ok nodes: empty"},
        {"/preceding::node()", "ok nodes: empty"},
        {"/following-sibling::node()", "ok nodes: empty"},
        {"/preceding-sibling::node()", "ok nodes: empty"},
    };
    check_rows(tree_xml, rows);
}

// An attribute's parent is its element; it has no children and no siblings,
// its following nodes start with its element's children, and its preceding
// nodes are its element's.
TEST(location_steps, every_axis_from_an_attribute) {
    const row rows[] = {
        {"/r/a/b/@z/child::node()", "ok nodes: empty"},
        {"/r/a/b/@z/attribute::node()", "ok nodes: empty"},
        {"/r/a/b/@z/self::node()", "ok nodes: attribute z=2"},
        {"/r/a/b/@z/parent::node()", "ok nodes: element b"},
        {"/r/a/b/@z/ancestor::node()", "ok nodes: root, element r, element a, element b"},
        {"/r/a/b/@z/ancestor-or-self::node()", "ok nodes: root, element r, element a, element b, attribute z=2"},
        {"/r/a/b/@z/descendant::node()", "ok nodes: empty"},
        {"/r/a/b/@z/descendant-or-self::node()", "ok nodes: attribute z=2"},
        {"/r/a/b/@z/following::node()[position() < 4]", "ok nodes: text y, element c, comment k"},
        {"/r/a/b/@z/following-sibling::node()", "ok nodes: empty"},
        {"/r/a/b/@z/preceding::node()", "ok nodes: text x"},
        {"/r/@k/preceding-sibling::node()", "ok nodes: empty"},
        {"/r/@id/parent::r", "ok nodes: element r"},
    };
    check_rows(tree_xml, rows);
}

TEST(location_steps, axes_from_texts_comments_and_instructions) {
    const row rows[] = {
        {"/r/a/text()/parent::node()", "ok nodes: element a"},
        {"/r/a/text()/child::node()", "ok nodes: empty"},
        {"/r/a/text()/following-sibling::node()", "ok nodes: element b"},
        {"/r/a/text()/following::text()", "ok nodes: text y, text t1, text t2"},
        {"/r/a/text()/preceding::node()", "ok nodes: empty"},
        {"/r/a/text()/ancestor::*", "ok nodes: element r, element a"},
        {"/r/comment()/preceding-sibling::*[1]", "ok nodes: element c"},
        {"/r/comment()/following-sibling::node()[1]", "ok nodes: element d"},
        {"/r/comment()/self::comment()", "ok nodes: comment k"},
        {"/r/processing-instruction()/parent::*", "ok nodes: element r"},
        {"/r/processing-instruction()/preceding-sibling::node()[1]", "ok nodes: element d"},
        {"/r/processing-instruction()/following-sibling::*[1]/text()", "ok nodes: text t1"},
        {"name(/r/processing-instruction())", "ok string: pi"},
    };
    check_rows(tree_xml, rows);
}

// "*" and a name match the axis's principal kind: attributes on the
// attribute axis, elements elsewhere; the other tests match by kind.
TEST(location_steps, node_tests_filter_every_axis) {
    const row rows[] = {
        {"/r/attribute::*", "ok nodes: attribute id=1, attribute k=v"},
        {"/r/attribute::text()", "ok nodes: empty"},
        {"/r/@k", "ok nodes: attribute k=v"},
        {"/r/@id/self::*", "ok nodes: empty"},
        {"/r/@id/self::id", "ok nodes: empty"},
        {"/r/d/e/ancestor::*", "ok nodes: element r, element d"},  // the root node is no element
        {"/r/d/e/ancestor::node()", "ok nodes: root, element r, element d"},
        {"/r/child::comment()", "ok nodes: comment k"},
        {"/r/a/descendant::text()", "ok nodes: text x, text y"},
        {"/r/a/b/following::p", "ok nodes: element p, element p"},
        {"/r/d/e/preceding::b", "ok nodes: element b"},
        {"/r/c/following-sibling::processing-instruction()", "ok nodes: other ?pi data?"},
        {"/r/node()[self::processing-instruction('pi')]", "ok nodes: other ?pi data?"},
        {"/r/processing-instruction('other')", "ok nodes: empty"},
        {"/r/c/preceding-sibling::*", "ok nodes: element a"},
        {"/r/p/self::p/text()", "ok nodes: text t1, text t2"},
        {"/r/a/b/parent::b", "ok nodes: empty"},
    };
    check_rows(tree_xml, rows);
}

// Positions count in the axis's direction: nearest first on the reverse axes.
TEST(location_steps, positions_on_every_axis) {
    const row rows[] = {
        {"/r/d/e/ancestor::*[1]", "ok nodes: element d"},
        {"/r/d/e/ancestor::*[2]", "ok nodes: element r"},
        {"/r/d/e/ancestor::node()[last()]", "ok nodes: root"},
        {"/r/d/e/ancestor-or-self::*[1]", "ok nodes: element e"},
        {"/r/d/e/ancestor-or-self::*[2]", "ok nodes: element d"},
        {"/r/d/e/preceding::*[1]", "ok nodes: element c"},
        {"/r/d/e/preceding::node()[1]", "ok nodes: comment k"},
        {"/r/d/e/preceding::*[last()]", "ok nodes: element a"},
        {"/r/d/preceding-sibling::*[1]", "ok nodes: element c"},
        {"/r/d/preceding-sibling::node()[2]", "ok nodes: element c"},
        {"/r/d/preceding-sibling::node()[last()]", "ok nodes: element a"},
        {"/r/c/following-sibling::p[1]/text()", "ok nodes: text t1"},
        {"/r/a/b/following::*[2]", "ok nodes: element d"},
        {"/r/a/descendant::node()[2]", "ok nodes: element b"},
        {"/r/p[last()]/text()", "ok nodes: text t2"},
        {"/r/*[last()]/text()", "ok nodes: text t2"},
        {"/r/*[last()][1]/text()", "ok nodes: text t2"},
        {"/r/x[last()]", "ok nodes: empty"},
        {"//*[last()]", "ok nodes: element r, element b, element e, element p"},  // the last element child of each parent
        {"/r/*[p:last()]", "execution 11"},  // no function of that name
        {"/r/p[1.25]", "ok nodes: empty"},  // no position is 1.25
        {"/r/p[0.5 + 0.75]", "ok nodes: empty"},  // computed, so evaluated for every p
        {"/r/p[2.0]/text()", "ok nodes: text t2"},
        {"/r/p[0]", "ok nodes: empty"},
        {"/r/p[3]", "ok nodes: empty"},
        {"/r/d/e/preceding::*[3]", "ok nodes: element a"},
        {"/r/*[2][1]", "ok nodes: element c"},
        {"/r/*[1][2]", "ok nodes: empty"},
        {"/r/*[1 + 1]", "ok nodes: element c"},
        {"/r/*[position() = 2][$v]", "execution 12"},
        {"/r/*[7][$v]", "ok nodes: empty"},  // no seventh element: the second predicate never runs
        {"/r/p/text()[1]", "ok nodes: text t1, text t2"},  // the first text of each p
        {"/r/@*[2]", "ok nodes: attribute k=v"},
        {"/r/d/e/ancestor::*[position() > 1][1]", "ok nodes: element r"},  // counted again among the kept
        {"/r/*[position() = last() - 1]/text()", "ok nodes: text t1"},
        {"//*[1]", "ok nodes: element r, element a, element b, element e"},  // the first element child of each parent
        {"//p[2]/text()", "ok nodes: text t2"},
        {"(//p | //c)[last()]/text()", "ok nodes: text t2"},  // a filter counts in document order
    };
    check_rows(tree_xml, rows);
}

TEST(location_steps, abbreviations_and_the_root_node) {
    const row rows[] = {
        {"/", "ok nodes: root"},
        {"name(/)", "ok string: "},
        {"concat(/, '')", "ok string: xyt1t2"},  // the root's string: all the text
        {"/ = 'xyt1t2'", "ok bool: true"},
        {"/*", "ok nodes: element r"},
        {"/..", "ok nodes: empty"},
        {"..", "ok nodes: root"},
        {".", "ok nodes: element r"},
        {"/r/a/.", "ok nodes: element a"},
        {"/r/a/b/..", "ok nodes: element a"},
        {"/r/@id/..", "ok nodes: element r"},
        {"a/../@id", "ok nodes: attribute id=1"},
        {"a/./b", "ok nodes: element b"},
        {"//a[. = 'xy']", "ok nodes: element a"},
        {"//b[../text() = 'x']", "ok nodes: element b"},
        {"name(/r/parent::*)", "ok string: "},
        {"/r/parent::*", "ok nodes: empty"},
        {"/r/..", "ok nodes: root"},
        {"//text()", "ok nodes: text x, text y, text t1, text t2"},
        {"//comment() | //text()", "ok nodes: text x, text y, comment k, text t1, text t2"},
        {"/r//@z", "ok nodes: attribute z=2"},
        {"//@*", "ok nodes: attribute id=1, attribute k=v, attribute z=2"},
        {"//self::b", "ok nodes: element b"},
        {"count(//.)", "ok int: 15"},
        {"//b/ancestor::*", "ok nodes: element r, element a"},
        {"/r/d//ancestor::*", "ok nodes: element r, element d"},
        // Node tests alone are paths from the context node.
        {"text()", "ok nodes: empty"},
        {"comment()", "ok nodes: comment k"},
        {"processing-instruction()", "ok nodes: other ?pi data?"},
        {"count(node())", "ok int: 7"},
        {"a[text() = 'x']", "ok nodes: element a"},  // compares each text child
    };
    check_rows(tree_xml, rows);
    std::unique_ptr<TiXmlDocument> document = test_support::parse_xml(tree_xml);
    EXPECT_EQ(describe_at(document->RootElement()->FirstChild(), "text()"), "ok nodes: text x");
    // Each a is an ancestor of some node under r.
    EXPECT_EQ(describe("<r><a>x<b>y</b></a><a>z</a></r>", "/r//ancestor::a"), "ok nodes: element a, element a");
}

TEST(location_steps, boolean_predicates) {
    const row rows[] = {
        {"/Settings/Language[false()]", "ok nodes: empty"},
        {"/Settings/Language['']", "ok nodes: empty"},
        {"/Settings/Language['2']", "ok nodes: element Language, element Language"},  // a string is a truth value
        {"/Settings/Language[@code = 'de']/text()", "ok nodes: text 8"},
        {"/Settings/Language[text() = '7']/@code", "ok nodes: attribute code=en"},
        {"/Settings/Language[Note]/@code", "ok nodes: attribute code=de"},
        {"/Settings/*[Note or @code = 'en']/@code", "ok nodes: attribute code=en, attribute code=de"},
        {"/Settings/*[not(@code)]", "ok nodes: element Region"},
        {"/Settings/Region[City = 'Rome']", "ok nodes: element Region"},  // some City's text
        {"/Settings/Region[City = 'City']", "ok nodes: empty"},
        {"/Settings/Region[City/text() = 'Rome']", "ok nodes: element Region"},
    };
    check_rows(settings_xml, rows);
}

// A failure inside a predicate keeps its own code.
TEST(location_steps, predicate_failures_pass_out) {
    const row rows[] = {
        {"/Settings/Language[nosuch(1)]", "execution 11"},
        {"/Settings/Language[$v]", "execution 12"},
        {"/Settings/Missing[$v]", "ok nodes: empty"},  // no candidate, so the predicate never runs
    };
    check_rows(settings_xml, rows);
}

TEST(location_steps, several_predicates_apply_in_written_order) {
    const row rows[] = {
        {"/Settings/Language[text() = '8'][2]/@code", "ok nodes: empty"},  // one was kept, so none is second
        {"/Settings/Language[text() = '8'][1]/@code", "ok nodes: attribute code=de"},
        {"/Settings/Language[1][text() = '7']/@code", "ok nodes: attribute code=en"},
        {"/Settings/Language[2][text() = '7']", "ok nodes: empty"},
        {"/Settings/Language[1][2]", "ok nodes: empty"},
        {"/Settings/*[@code][2]/@code", "ok nodes: attribute code=de"},
        {"/Settings/*[@code][3]", "ok nodes: empty"},
    };
    check_rows(settings_xml, rows);
}

// The right operand of "and" runs first, so these rows evaluate a nested
// predicate on either side of the part that needs the candidate back.
TEST(location_steps, context_element_returns_after_a_predicate) {
    const row rows[] = {
        {"/Settings/Language[Note[1] and @code]/@code", "ok nodes: attribute code=de"},
        {"/Settings/Language[@code and Note[1]]/@code", "ok nodes: attribute code=de"},
        {"/Settings/Language[text() = '8' and Note[1]]/@code", "ok nodes: attribute code=de"},
        // The candidate, its position and the context size come back after City[2].
        {"/Settings/*[position() = 3 and City[2]]", "ok nodes: element Region"},
        {"/Settings/Region[position() = 1 and City[2]]", "ok nodes: element Region"},
        {"/Settings/Region[position() = 1 and (City)[position() = 2]]", "ok nodes: element Region"},
        {"/Settings/Region[(City)[position() = 3] or position() = 1]", "ok nodes: element Region"},
    };
    check_rows(settings_xml, rows);
}

TEST(location_steps, double_slash_between_steps_reaches_every_depth) {
    const row rows[] = {
        {"/Settings//Settings", "ok nodes: empty"},
        {"/Settings/Region//Street", "ok nodes: element Street"},  // a grandchild
        {"/Settings//City/text()", "ok nodes: text Oslo, text Rome"},
        {"/Settings//Note", "ok nodes: element Note"},
        {"/Settings/Language//text()", "ok nodes: text 7, text 8, text n"},
        {"/Settings//@code", "ok nodes: attribute code=en, attribute code=de"},
        {"Region//Street", "ok nodes: element Street"},
        {"//Region//Street", "ok nodes: element Street"},
        {"/Settings//Town//Street/parent::*", "ok nodes: element Town"},
    };
    check_rows(settings_xml, rows);
}

TEST(location_steps, paths_from_a_base_below_the_document_root) {
    std::unique_ptr<TiXmlDocument> document = test_support::parse_xml(settings_xml);
    TiXmlElement* region = document->RootElement()->FirstChildElement("Region");
    ASSERT_NE(region, nullptr);
    const row rows[] = {
        {"City/text()", "ok nodes: text Oslo, text Rome"},
        {"/Region/City[1]/text()", "ok nodes: text Oslo"},
        {"/Settings", "ok nodes: empty"},
        {"preceding-sibling::*", "ok nodes: empty"},  // hidden while the base hangs under the temporary root
        {"following::*", "ok nodes: empty"},
        {"parent::node()", "ok nodes: root"},
        {"//Street", "ok nodes: element Street"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.expression);
        EXPECT_EQ(describe_at(region, r.expression), r.outcome);
    }
    // A text node as context has no element children, and the temporary root as parent.
    TiXmlNode* oslo = region->FirstChildElement("City")->FirstChild();
    EXPECT_EQ(describe_at(oslo, "City"), "ok nodes: empty");
    EXPECT_EQ(describe_at(oslo, ".."), "ok nodes: root");
    EXPECT_EQ(describe_at(oslo, "/node()"), "ok nodes: text Oslo");
}

TEST(location_steps, filter_expressions) {
    const row rows[] = {
        {"(1)[1]", "execution 9"},
        {"('x')/Language", "execution 9"},
        {"(/Settings/Language)[0]", "ok nodes: empty"},
        {"(/Settings/Language)[3]", "ok nodes: empty"},
        {"(/Settings)/Language", "ok nodes: element Language, element Language"},
        {"(/Settings)/Region/City/text()", "ok nodes: text Oslo, text Rome"},
        {"(/Settings)//City/text()", "ok nodes: text Oslo, text Rome"},
        {"(/Settings)/Language[2]/@code", "ok nodes: attribute code=de"},
        {"(/Settings)/Region//Street", "ok nodes: element Street"},
        {"(/Settings/Language)[2]//text()", "ok nodes: text 8, text n"},
        {"(/Settings/Region)//*", "ok nodes: element City, element Town, element Street, element City"},
        {"(/Settings/Language)[2]/text()", "ok nodes: text 8"},
        {"(/Settings/Region/City)[2]/text()", "ok nodes: text Rome"},
        // A number selects by position in document order, not in the union's order.
        {"(/Settings/Language | /Settings/Region/City)[1]/text()", "ok nodes: text 7"},
        {"(//City | //Town)[2]", "ok nodes: element Town"},
        {"(/Settings/@*)[2]", "ok nodes: attribute mode=fast"},
        {"(//City | //Town)[2][1]", "ok nodes: element Town"},  // each predicate counts among what the one before kept
        {"(/Settings/Region/*)[City][2]/text()", "ok nodes: empty"},
        {"(/Settings/Region/*)[3][1]/text()", "ok nodes: text Rome"},
        {"(/Settings/Language)[text() = '8']/@code", "ok nodes: attribute code=de"},
        {"(/Settings/Language)[Note]/@code", "ok nodes: attribute code=de"},
        {"(/Settings/Region/*)[position() = 2]", "ok nodes: element Town"},
        {"(/Settings/Region/City)[position() = 2]/text()", "ok nodes: text Rome"},  // counted among the entries
        {"(/Settings/Region/City)[last()]/text()", "ok nodes: text Rome"},
        {"(/Settings/Region/City | /Settings/Language)[last() - 2]/@code", "ok nodes: attribute code=de"},
        {"count((/Settings/*)[true()])", "ok int: 3"},
        {"(/Settings/Region/City/ancestor::*)[1]", "ok nodes: element Settings"},
    };
    check_rows(settings_xml, rows);
}

TEST(location_steps, prefixed_names_match_the_whole_name) {
    const char* const prefixed_xml = "<Settings><p:opt p:flag='1'>a</p:opt><opt>b</opt></Settings>";
    const row rows[] = {
        {"/Settings/p:opt/text()", "ok nodes: text a"},
        {"/Settings/opt/text()", "ok nodes: text b"},
        {"/Settings/q:opt", "ok nodes: empty"},
        {"/Settings/p:opt/@p:flag", "ok nodes: attribute p:flag=1"},
        {"/Settings/p:opt/@flag", "ok nodes: empty"},
        {"/Settings/p:opt[1]/text()", "ok nodes: text a"},
        {"p:opt/text()", "ok nodes: text a"},
        {"count(p:opt)", "ok int: 1"},
        {"p:count(opt)", "execution 11"},  // an unknown function
        // No prefix is resolved, so "p:*" cannot be matched: not evaluated.
        {"/Settings/p:*", "execution -2"},
    };
    check_rows(prefixed_xml, rows);
}

TEST(location_steps, utf8_names_are_whole_names) {
    const char* const utf8_xml = "<\u6587\u66f8 \u00e9t\u00e9='1'><Gr\u00f6\u00dfe>5</Gr\u00f6\u00dfe><Gr\u00f6>6</Gr\u00f6></\u6587\u66f8>";
    const row rows[] = {
        {"/\u6587\u66f8", "ok nodes: element \u6587\u66f8"},
        {"/\u6587\u66f8/Gr\u00f6\u00dfe/text()", "ok nodes: text 5"},
        {"Gr\u00f6/text()", "ok nodes: text 6"},  // a name that begins another is no match
        {"@\u00e9t\u00e9", "ok nodes: attribute \u00e9t\u00e9=1"},
        {"count(//Gr\u00f6\u00dfe)", "ok int: 1"},
    };
    check_rows(utf8_xml, rows);
}
