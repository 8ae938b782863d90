// Path values: the four conversions from every kind (XPath's number, string
// and boolean, and the integer conversion kept for the launcher), collections read through
// their first node in document order, and copies that take only the source
// kind's payload but never share a collection's arrays.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "sample_document.hpp"
#include "evaluation/path_value.hpp"

using xpath::node_collection;
using xpath::path_value;
using xpath::value_kind;

namespace {

const char* const settings_xml =
    "<Settings><Language>2</Language><Volume level='12px'>7</Volume></Settings>";

node_collection collection_of(std::initializer_list<TiXmlNode*> nodes) {
    node_collection collection;
    for (TiXmlNode* node : nodes) collection.append(node);
    return collection;
}

const double not_a_number = std::nan("");

bool same_number(double a, double b) {
    return std::isnan(a) ? std::isnan(b) : a == b;
}

}  // namespace

TEST(path_value, conversions_from_every_kind) {
    test_support::sample_document sample(settings_xml);
    node_collection level;
    level.append(xpath::node_ref{sample.element("Volume"), sample.attribute("Volume", "level")});
    struct row { const char* input; path_value value; std::int32_t integer; double real; const char* text; bool truth; };
    const row rows[] = {
        {"none", path_value(), 0, not_a_number, "", false},
        {"true", path_value(true), 1, 1.0, "true", true},
        {"false", path_value(false), 0, 0.0, "false", false},
        {"int 0", path_value(0), 0, 0.0, "0", false},
        {"int -12", path_value(-12), -12, -12.0, "-12", true},
        {"double 0.0", path_value(0.0), 0, 0.0, "0", false},
        {"double -0.0", path_value(-0.0), 0, -0.0, "0", false},
        {"double NaN", path_value(not_a_number), 0, not_a_number, "NaN", false},
        {"double -Infinity", path_value(-HUGE_VAL), -2147483647 - 1, -HUGE_VAL, "-Infinity", true},
        {"double -7.9", path_value(-7.9), -7, -7.9, "-7.9", true},
        {"double 3e9", path_value(3e9), 2147483647, 3e9, "3000000000", true},
        {"string ''", path_value(""), 0, not_a_number, "", false},
        {"string 'false'", path_value("false"), 0, not_a_number, "false", true},
        {"string '2.7'", path_value("2.7"), 2, 2.7, "2.7", true},
        {"string '1e3'", path_value("1e3"), 1, not_a_number, "1e3", true},
        {"string ' 26x'", path_value(" 26x"), 26, not_a_number, " 26x", true},
        {"empty collection", path_value(node_collection()), 0, not_a_number, "", false},
        {"element Language", path_value(collection_of({sample.element("Language")})), 2, 2.0, "2", true},
        {"element Settings", path_value(collection_of({sample.element("Settings")})), 27, 27.0, "27", true},
        {"text of Language", path_value(collection_of({sample.first_child("Language")})), 2, 2.0, "2", true},
        {"attribute level", path_value(level), 12, not_a_number, "12px", true},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.input);
        path_value value = r.value;
        EXPECT_EQ(value.kind, r.value.kind);
        EXPECT_EQ(value.to_int(), r.integer);
        EXPECT_TRUE(same_number(value.to_number(), r.real)) << value.to_number();
        EXPECT_EQ(value.to_string(), r.text);
        EXPECT_EQ(value.to_bool(), r.truth);
    }
}

TEST(path_value, collection_reads_its_first_node_in_document_order_and_stays_sorted) {
    test_support::sample_document sample(settings_xml);
    TiXmlNode* seven = sample.first_child("Volume");
    TiXmlNode* two = sample.first_child("Language");
    path_value value(collection_of({seven, sample.element("Volume"), two}));
    EXPECT_EQ(value.to_string(), "2");
    EXPECT_EQ(std::vector<xpath::node_ref>(value.nodes.begin(), value.nodes.end()),
              (std::vector<xpath::node_ref>{xpath::node_of(two), xpath::node_of(sample.element("Volume")),
                                            xpath::node_of(seven)}));
    path_value unsorted(collection_of({seven, two}));
    EXPECT_EQ(unsorted.to_int(), 2);
    path_value unsorted_again(collection_of({seven, two}));
    EXPECT_EQ(unsorted_again.to_number(), 2.0);
}

TEST(path_value, copies_own_their_collections) {
    test_support::sample_document sample(settings_xml);
    path_value source(collection_of({sample.element("Language"), sample.element("Volume")}));
    path_value constructed(source);
    path_value assigned;
    assigned = source;
    constructed.nodes.clear();
    assigned.nodes.append(sample.element("Settings"));
    EXPECT_EQ(source.nodes.count(), 2u);
    EXPECT_EQ(assigned.kind, value_kind::kind_nodes);
    EXPECT_EQ(assigned.nodes.count(), 3u);
}

TEST(path_value, copy_over_another_kind_takes_the_new_kind) {
    struct row { const char* input; path_value target; path_value source; value_kind kind; const char* text; };
    test_support::sample_document sample(settings_xml);
    const row rows[] = {
        {"int over string", path_value("hello"), path_value(7), value_kind::kind_int, "7"},
        {"string over nodes", path_value(collection_of({sample.element("Language")})), path_value("x"),
         value_kind::kind_string, "x"},
        {"none over bool", path_value(true), path_value(), value_kind::kind_none, ""},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.input);
        path_value target = r.target;
        target = r.source;
        EXPECT_EQ(target.kind, r.kind);
        EXPECT_EQ(target.to_string(), r.text);
    }
}
