// Location steps through whole evaluations: every axis and node-kind test,
// positional and boolean predicates (several on one step, nested ones), the
// inputs a path starts from, "//" between steps, filter expressions followed
// by paths or predicates, and prefixed names. Each row names the result's
// entries in the order the result holds them: steps do not sort.
#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <string>

#include "evaluation_helpers.hpp"

using test_support::describe;
using test_support::describe_at;

namespace {

// Settings holds two comments, a text, two Language elements and a Region.
// Pre-order numbers under the temporary root (1): Settings 2, c1 3, "lead" 4,
// Language en 5, "7" 6, Language de 7, "8" 8, Note 9, "n" 10, Region 11,
// City Oslo 12, "Oslo" 13, Town 14, Street 15, City Rome 16, "Rome" 17, c2 18.
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

TEST(location_steps, child_and_attribute_axes) {
    const row rows[] = {
        {"/Settings/child::Missing", "ok nodes: empty"},
        {"/Settings/@missing", "ok nodes: empty"},
        {"/Settings", "ok nodes: element Settings"},
        {"/Settings/Language", "ok nodes: element Language, element Language"},
        {"/Settings/*", "ok nodes: element Language, element Language, element Region"},  // elements only
        {"/Settings/child::Region", "ok nodes: element Region"},
        {"/Settings/Region/child::*/text()", "ok nodes: text Oslo, text Rome"},
        {"/Settings/@version", "ok nodes: attribute version=3"},
        {"/Settings/@*", "ok nodes: attribute version=3, attribute mode=fast"},  // stored order
        {"/Settings/attribute::mode", "ok nodes: attribute mode=fast"},
        {"/Settings/Language/@code", "ok nodes: attribute code=en, attribute code=de"},
        {"/Settings/Region/@*", "ok nodes: empty"},
    };
    check_rows(settings_xml, rows);
}

TEST(location_steps, upward_axes) {
    const row rows[] = {
        {"/Settings/parent::*", "ok nodes: element root"},  // the temporary root
        {"/Settings/parent::root", "ok nodes: element root"},
        {"/Settings/Region/City/parent::Settings", "ok nodes: empty"},
        {"/Settings/Language/Note/parent::*/@code", "ok nodes: attribute code=de"},
        {"/Settings/ancestor::*", "ok nodes: empty"},  // stops below the temporary root
        {"/Settings/Region/Town/Street/ancestor::*", "ok nodes: element Town, element Region, element Settings"},
        {"/Settings/Language/Note/ancestor::Language/@code", "ok nodes: attribute code=de"},
        {"/Settings/Region/Town/Street/ancestor-or-self::*",
         "ok nodes: element Street, element Town, element Region, element Settings"},
        {"/Settings/Region/City/ancestor-or-self::*",
         "ok nodes: element City, element Region, element Settings, element City"},
        {"/Settings/parent::*/ancestor-or-self::*", "ok nodes: empty"},
        {"/Settings/ancestor-or-self::root", "ok nodes: empty"},
        {"/Settings/Region/self::Region", "ok nodes: element Region"},
        {"/Settings/Region/self::City", "ok nodes: empty"},
        {"/Settings/parent::*/self::*", "ok nodes: empty"},  // the temporary root is never its own self
    };
    check_rows(settings_xml, rows);
}

TEST(location_steps, downward_axes) {
    const row rows[] = {
        {"/Settings/Region/Town/Street/descendant::*", "ok nodes: empty"},
        {"/Settings/descendant::*",
         "ok nodes: element Language, element Language, element Note, element Region, element City, "
         "element Town, element Street, element City"},  // pre-order
        {"/Settings/Region/descendant::City/text()", "ok nodes: text Oslo, text Rome"},
        {"/Settings/parent::*/descendant::Settings", "ok nodes: element Settings"},
        {"/Settings/Region/descendant-or-self::*",
         "ok nodes: element Region, element City, element Town, element Street, element City"},
        {"/Settings/parent::*/descendant-or-self::*",
         "ok nodes: element Settings, element Language, element Language, element Note, element Region, "
         "element City, element Town, element Street, element City"},
    };
    check_rows(settings_xml, rows);
}

TEST(location_steps, sideways_axes) {
    const row rows[] = {
        {"/Settings/Region/City/following-sibling::*", "ok nodes: element Town, element City"},
        {"/Settings/Region/City/following-sibling::City/text()", "ok nodes: text Rome"},
        {"/Settings/Region/preceding-sibling::*/@code", "ok nodes: attribute code=de, attribute code=en"},  // nearest first
        {"/Settings/Region/Town/preceding-sibling::City/text()", "ok nodes: text Oslo"},
        {"/Settings/following-sibling::*", "ok nodes: empty"},  // the base has no siblings while it runs
        // following: each later sibling of X and of each ancestor, then that sibling's children, one level deep.
        {"/Settings/Language/Note/following::*",
         "ok nodes: element Region, element City, element Town, element City"},
        {"/Settings/Language/following::*",
         "ok nodes: element Language, element Note, element Region, element City, element Town, element City"},
        // preceding: earlier siblings with their children, one level deep; ancestors' siblings are not visited.
        {"/Settings/Region/preceding::*", "ok nodes: element Language, element Note, element Language"},
        {"/Settings/Region/City/preceding::*", "ok nodes: element Town, element Street, element City"},
    };
    check_rows(settings_xml, rows);
}

TEST(location_steps, node_kind_tests) {
    const row rows[] = {
        {"/Settings/Language/comment()", "ok nodes: empty"},
        {"/Settings/Region/text()", "ok nodes: empty"},
        {"/Settings/comment()", "ok nodes: comment c1, comment c2"},
        {"/Settings/text()", "ok nodes: text lead"},
        {"/Settings/Language/text()", "ok nodes: text 7, text 8"},
        {"/Settings/descendant::text()", "ok nodes: text lead"},  // a node-kind test replaces the axis
        {"/Settings/child::comment()", "ok nodes: comment c1, comment c2"},
        {"/Settings/node()",
         "ok nodes: comment c1, text lead, element Language, element Language, element Region, comment c2"},
        {"/Settings/Language/node()", "ok nodes: text 7, text 8, element Note"},
        {"/Settings/processing-instruction()", "ok nodes: empty"},
        {"/Settings/processing-instruction('x')", "ok nodes: empty"},
        {"/Settings/namespace::x", "execution -2"},
        {"/Settings/Missing/namespace::x", "ok nodes: empty"},  // no input element, so no axis is walked
        // At the start of an expression these are function calls; only text() is a function.
        {"text()", "ok string: lead"},
        {"comment()", "execution 11"},
        {"node()", "execution 11"},
        {"processing-instruction()", "execution 11"},
    };
    check_rows(settings_xml, rows);
}

TEST(location_steps, steps_from_attributes_and_texts_select_nothing) {
    const row rows[] = {
        {"/Settings/@version/parent::*", "ok nodes: empty"},
        {"/Settings/text()/parent::*", "ok nodes: empty"},
        {"/Settings/comment()/following-sibling::*", "ok nodes: empty"},
        {"/Settings/@version//*", "ok nodes: empty"},
    };
    check_rows(settings_xml, rows);
}

TEST(location_steps, each_result_entry_is_added_once) {
    const row rows[] = {
        {"/Settings/Language/parent::*", "ok nodes: element Settings"},
        {"/Settings/Region/City/ancestor::*", "ok nodes: element Region, element Settings"},
        {"/Settings/Language/following-sibling::*", "ok nodes: element Language, element Region"},
        {"count(/Settings/*/parent::*/*)", "ok int: 3"},
        {"count(//City/parent::*)", "ok int: 1"},
    };
    check_rows(settings_xml, rows);
}

TEST(location_steps, positional_predicates) {
    const row rows[] = {
        {"/Settings/Language[0]", "ok nodes: empty"},
        {"/Settings/Language[3]", "ok nodes: empty"},
        {"/Settings/Language[2]", "ok nodes: element Language"},
        {"/Settings/Language[2]/text()", "ok nodes: text 8"},
        {"/Settings/Language[1]/@code", "ok nodes: attribute code=en"},
        {"/Settings/Language[2.9]/text()", "ok nodes: text 8"},  // a double is truncated
        {"/Settings/*[1]/text()", "ok nodes: text 7"},
        {"/Settings/*[3]", "ok nodes: element Region"},
        // A named step counts siblings of that name, "*" counts all element siblings.
        {"/Settings/Region/City[2]/text()", "ok nodes: text Rome"},
        {"/Settings/Region/City[3]", "ok nodes: empty"},
        {"/Settings/Region/*[2]", "ok nodes: element Town"},
        {"/Settings/Region/*[3]/text()", "ok nodes: text Rome"},
        {"/Settings/Region/City[position() = 2]/text()", "ok nodes: text Rome"},
        {"/Settings/Region/*[position() = 2]", "ok nodes: element Town"},
        // last() counts every element child of the parent, whatever the name.
        {"/Settings/Region/*[last()]/text()", "ok nodes: text Rome"},
        {"/Settings/Region/City[last()]", "ok nodes: empty"},
        {"/Settings/Language[last()]", "ok nodes: empty"},
        {"/Settings/Region/City[position() = last() - 1]/text()", "ok nodes: text Rome"},
        // The position is the sibling position, whatever axis found the candidate.
        {"/Settings/Region/Town/Street/ancestor::*[1]", "ok nodes: element Settings"},
        {"//City[1]/text()", "ok nodes: text Oslo"},
        {"//*[1]", "ok nodes: element Settings, element Language, element Note, element City, element Street"},
    };
    check_rows(settings_xml, rows);
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
        {"/Settings/Language[round(1)]", "execution 11"},
        {"/Settings/Language[$v]", "execution 12"},
        {"/Settings/Missing[$v]", "ok nodes: empty"},  // no candidate, so the predicate never runs
    };
    check_rows(settings_xml, rows);
}

TEST(location_steps, several_predicates_apply_in_written_order) {
    const row rows[] = {
        {"/Settings/Language[text() = '8'][2]/@code", "ok nodes: attribute code=de"},
        {"/Settings/Language[text() = '8'][1]", "ok nodes: empty"},
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
        // Both the candidate and the same-name flag come back after City[2].
        {"/Settings/*[position() = 3 and City[2]]", "ok nodes: element Region"},
        {"/Settings/Region[position() = 1 and City[2]]", "ok nodes: element Region"},
        {"/Settings/Region[position() = 1 and (City)[position() = 2]]", "ok nodes: element Region"},
        {"/Settings/Region[(City)[position() = 3] or position() = 1]", "ok nodes: element Region"},
    };
    check_rows(settings_xml, rows);
}

TEST(location_steps, where_a_path_starts) {
    const row rows[] = {
        {"/", "unbalanced"},  // the root alone pushes nothing
        {".", "execution 2"},
        {"..", "execution 2"},
        {"//Language", "ok nodes: element Language, element Language"},
        {"//Settings", "ok nodes: element Settings"},
        {"//Language[2]/@code", "ok nodes: attribute code=de"},
        {"//City/text()", "ok nodes: text Oslo, text Rome"},
        {"//@code", "ok nodes: attribute code=en, attribute code=de"},
        {"//comment()", "ok nodes: comment c1, comment c2"},
        // Children of every element in turn, so the result is not in document order.
        {"//*",
         "ok nodes: element Settings, element Language, element Language, element Region, element Note, "
         "element City, element Town, element City, element Street"},
        {"//text()", "ok nodes: text lead, text 7, text 8, text n, text Oslo, text Rome"},
        {"count(//node())", "ok int: 17"},  // every node but the temporary root
        // Relative paths start at the base element.
        {"Language", "ok nodes: element Language, element Language"},
        {"Language/text()", "ok nodes: text 7, text 8"},
        {"Region/City[2]/text()", "ok nodes: text Rome"},
        {"@version", "ok nodes: attribute version=3"},
        {"self::Settings", "ok nodes: element Settings"},
        {"parent::*", "ok nodes: element root"},
        {"7 = Language", "ok bool: true"},
        {"Language = 'Language'", "ok bool: false"},
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
        {"parent::*", "ok nodes: element root"},
        {"//Street", "ok nodes: element Street"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.expression);
        EXPECT_EQ(describe_at(region, r.expression), r.outcome);
    }
    // Without an element as context, a relative path has no input.
    TiXmlNode* oslo = region->FirstChildElement("City")->FirstChild();
    EXPECT_EQ(describe_at(oslo, "City"), "ok nodes: empty");
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
        {"(/Settings/Region)//*", "ok nodes: element City, element Town, element City, element Street"},
        {"(/Settings/Language)[2]/text()", "ok nodes: text 8"},
        {"(/Settings/Region/City)[2]/text()", "ok nodes: text Rome"},
        // A number selects by position in document order, not in the union's order.
        {"(/Settings/Language | /Settings/Region/City)[1]/text()", "ok nodes: text 7"},
        {"(//City | //Town)[2]", "ok nodes: element Town"},
        {"(/Settings/@*)[2]", "ok nodes: attribute mode=fast"},
        {"(//City | //Town)[2][1]", "ok nodes: element Town"},  // each predicate counts among what the one before kept
        {"(/Settings/Region/*)[City][2]/text()", "ok nodes: empty"},
        {"(/Settings/Region/*)[3][1]/text()", "ok nodes: text Rome"},
        // Any other value keeps the entries it holds for; position() is still the sibling position.
        {"(/Settings/Language)[text() = '8']/@code", "ok nodes: attribute code=de"},
        {"(/Settings/Language)[Note]/@code", "ok nodes: attribute code=de"},
        {"(/Settings/Region/*)[position() = 2]", "ok nodes: element Town"},
        {"(/Settings/Region/City)[position() = 2]/text()", "ok nodes: text Rome"},  // counted among the entries
        {"(/Settings/Region/City)[last()]/text()", "ok nodes: text Rome"},
        {"(/Settings/Region/City | /Settings/Language)[last() - 2]/@code", "ok nodes: attribute code=de"},
        {"count((/Settings/*)[true()])", "ok int: 3"},
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
        // The prefix of "p:*" is not recorded, so the engine cannot match it: not supported.
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

TEST(location_steps, predicates_keep_only_elements) {
    const row rows[] = {
        {"/Settings/@version[1]", "ok nodes: empty"},
        {"/Settings/@*[true()]", "ok nodes: empty"},
        {"/Settings/Language/text()[1]", "ok nodes: empty"},
        {"/Settings/comment()[1]", "ok nodes: empty"},
        {"/Settings/node()[1]/@code", "ok nodes: attribute code=en"},
    };
    check_rows(settings_xml, rows);
}

// The temporary root has no parent: its position is -1 and its last() 0, so
// no positive position keeps it.
TEST(location_steps, predicates_on_the_temporary_root) {
    const row rows[] = {
        {"/Settings/parent::*[1]", "ok nodes: empty"},
        {"/Settings/parent::*[position() = -1]", "ok nodes: element root"},
        {"/Settings/parent::root[last() = 0]", "ok nodes: element root"},
        {"/Settings/parent::*[position() = 1]", "ok nodes: empty"},
    };
    check_rows(settings_xml, rows);
}
