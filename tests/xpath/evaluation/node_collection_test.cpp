// Node collections: membership without duplicates, copies, the document-order
// sort with attribute entries held in their slots, and reading entries as
// text and integers.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "sample_document.hpp"
#include "xpath/evaluation/node_collection.hpp"

using xpath::node_collection;

namespace {

// Pre-order: document 1, a 2, b 3, text "-3 apples" 4, c 5, d 6, e 7.
const char* const letters_xml = "<a x='12px' y='y'><b>-3 apples</b><c/><d/><e/></a>";

std::vector<void*> entries_of(std::initializer_list<void*> entries) {
    return entries;
}

}  // namespace

TEST(node_collection, add_unique_keeps_the_first_occurrence) {
    test_support::sample_document sample(letters_xml);
    TiXmlElement* a = sample.element("a");
    TiXmlAttribute* x = sample.attribute("a", "x");
    node_collection collection;
    collection.add_unique(a);
    collection.add_unique(x);
    collection.add_unique(sample.element("b"));
    node_collection again;
    again.add_unique(sample.element("b"));
    again.add_unique(a);
    collection.add_unique(a);
    collection.add_unique(x);
    collection.add_unique_from(again, 0);
    collection.add_unique_from(again, 1);
    EXPECT_EQ(collection.entries(), entries_of({a, x, sample.element("b")}));
    EXPECT_EQ(collection.attribute_flags(), (std::vector<unsigned char>{0, 1, 0}));
    EXPECT_TRUE(collection.contains(x));
    EXPECT_FALSE(collection.contains(sample.element("c")));
}

TEST(node_collection, assign_copy_replaces_everything) {
    test_support::sample_document sample(letters_xml);
    node_collection three;
    three.add_unique(sample.element("c"));
    three.add_unique(sample.attribute("a", "y"));
    three.add_unique(sample.element("b"));
    node_collection target;
    target.add_unique(sample.element("e"));
    target.assign_copy(node_collection());
    EXPECT_EQ(target.count(), 0u);
    EXPECT_FALSE(target.contains(sample.element("e")));
    target.assign_copy(three);
    EXPECT_EQ(target.entries(), three.entries());
    EXPECT_EQ(target.attribute_flags(), (std::vector<unsigned char>{0, 1, 0}));
    target.add_unique(sample.element("c"));
    target.add_unique(sample.element("d"));
    EXPECT_EQ(target.count(), 4u);
    EXPECT_EQ(three.count(), 3u);
}

TEST(node_collection, clear_forgets_members) {
    test_support::sample_document sample(letters_xml);
    node_collection collection;
    collection.clear();
    collection.add_unique(sample.element("b"));
    collection.clear();
    collection.add_unique(sample.element("b"));
    EXPECT_EQ(collection.count(), 1u);
}

// Rows name entries by letter: an element, or '@x' / '@y' for an attribute of a.
TEST(node_collection, sort_puts_nodes_in_document_order_around_attributes) {
    test_support::sample_document sample(letters_xml);
    auto entry = [&](const std::string& name) -> std::pair<void*, bool> {
        if (name[0] == '@') return {sample.attribute("a", name.c_str() + 1), true};
        return {static_cast<TiXmlNode*>(sample.element(name.c_str())), false};
    };
    struct row { std::vector<std::string> gathered; std::vector<std::string> sorted; };
    const row rows[] = {
        {{}, {}},
        {{"c"}, {"c"}},
        {{"@x"}, {"@x"}},
        {{"e", "d", "c", "b", "a"}, {"a", "b", "c", "d", "e"}},
        {{"a", "b", "c"}, {"a", "b", "c"}},
        {{"d", "a", "e", "b"}, {"a", "b", "d", "e"}},
        {{"@x", "c", "@y", "a", "b"}, {"@x", "a", "@y", "b", "c"}},
        {{"e", "d", "@y"}, {"d", "e", "@y"}},
    };
    for (const row& r : rows) {
        std::string trace;
        for (const std::string& name : r.gathered) trace += name + " ";
        SCOPED_TRACE(trace);
        node_collection collection;
        std::vector<void*> expected;
        std::vector<unsigned char> flags;
        for (const std::string& name : r.gathered) {
            auto e = entry(name);
            if (e.second) collection.add_unique(static_cast<TiXmlAttribute*>(e.first));
            else collection.add_unique(static_cast<TiXmlNode*>(e.first));
            flags.push_back(e.second ? 1 : 0);
        }
        for (const std::string& name : r.sorted) expected.push_back(entry(name).first);
        collection.sort_document_order();
        EXPECT_EQ(collection.entries(), expected);
        EXPECT_EQ(collection.attribute_flags(), flags);
        for (void* e : expected) EXPECT_TRUE(collection.contains(e));
    }
}

TEST(node_collection, entries_read_as_their_string_values) {
    test_support::sample_document sample(letters_xml);
    node_collection collection;
    collection.add_unique(sample.element("a"));
    collection.add_unique(sample.attribute("a", "x"));
    collection.add_unique(sample.first_child("b"));
    collection.add_unique(sample.element("c"));
    struct row { const char* entry; std::string text; };
    const row rows[] = {
        {"element a: the text below it", "-3 apples"},
        {"attribute x", "12px"},
        {"text of b", "-3 apples"},
        {"empty element c", ""},
    };
    ASSERT_EQ(collection.count(), 4u);
    for (std::uint32_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(rows[i].entry);
        EXPECT_EQ(collection.entry_string(i), rows[i].text);
    }
    // Text at every depth in document order, CDATA included, comments not.
    test_support::sample_document mixed("<m>x<!--c--><i>y<![CDATA[z]]><j/></i>w</m>");
    node_collection element;
    element.add_unique(mixed.element("m"));
    EXPECT_EQ(element.entry_string(0), "xyzw");
}

// Past a few entries membership goes through an index made on the first
// test; entries appended after it must still count as members.
TEST(node_collection, membership_of_a_large_collection) {
    std::string xml = "<r>";
    for (int i = 0; i < 40; ++i) xml += "<e/>";
    test_support::sample_document sample((xml + "</r>").c_str());
    std::vector<TiXmlNode*> elements;
    for (TiXmlNode* e = sample.element("r")->FirstChild(); e; e = e->NextSibling()) elements.push_back(e);
    node_collection collection;
    for (int i = 0; i < 30; ++i) collection.add_unique(elements[static_cast<std::size_t>(i)]);
    collection.add_unique(elements[3]);  // the first test past the scanned size
    for (int i = 30; i < 40; ++i) collection.append(elements[static_cast<std::size_t>(i)]);
    for (int i = 39; i >= 0; --i) collection.add_unique(elements[static_cast<std::size_t>(i)]);
    ASSERT_EQ(collection.count(), 40u);
    for (std::uint32_t i = 0; i < 40; ++i) EXPECT_EQ(collection.node_at(i), elements[i]);
    node_collection moved(std::move(collection));
    EXPECT_EQ(collection.count(), 0u);
    collection.add_unique(elements[0]);  // a moved-from collection starts afresh
    EXPECT_EQ(collection.count(), 1u);
    moved.add_unique(elements[5]);
    EXPECT_EQ(moved.count(), 40u);
}
