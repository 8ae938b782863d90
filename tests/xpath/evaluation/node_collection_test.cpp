// Node collections: document order with attributes after their element and
// before its children, duplicates dropped by the sort and by the merge, and
// reading entries as their string values.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "sample_document.hpp"
#include "evaluation/node_collection.hpp"

using xpath::node_collection;
using xpath::node_ref;

namespace {

// Pre-order: document 1, a 2 (with @x, @y, @z), b 3, text "-3 apples" 4, c 5 (with @x), d 6, e 7.
const char* const letters_xml = "<a x='12px' y='y' z=''><b>-3 apples</b><c x='1'/><d/><e/></a>";

// Entries by name: an element by its tag, "a@x" for an attribute.
class letters {
public:
    letters() : sample_(letters_xml) {}
    node_ref operator()(const std::string& name) {
        std::size_t at = name.find('@');
        if (at == std::string::npos) return xpath::node_of(sample_.element(name.c_str()));
        std::string tag = name.substr(0, at);
        return node_ref{sample_.element(tag.c_str()), sample_.attribute(tag.c_str(), name.c_str() + at + 1)};
    }
    std::string name_of(const node_ref& ref) {
        for (const char* name : {"a", "b", "c", "d", "e", "a@x", "a@y", "a@z", "c@x"})
            if ((*this)(name) == ref) return name;
        return "?";
    }
    node_collection collection(const std::vector<std::string>& names) {
        node_collection made;
        for (const std::string& name : names) made.append((*this)(name));
        return made;
    }
    std::vector<std::string> names(const node_collection& collection) {
        std::vector<std::string> listed;
        for (const node_ref& ref : collection) listed.push_back(name_of(ref));
        return listed;
    }

private:
    test_support::sample_document sample_;
};

using names = std::vector<std::string>;

}  // namespace

TEST(node_collection, sort_gives_document_order_without_duplicates) {
    letters l;
    struct row { names gathered, sorted; };
    const row rows[] = {
        {{}, {}},
        {{"c"}, {"c"}},
        {{"e", "d", "c", "b", "a"}, {"a", "b", "c", "d", "e"}},
        {{"d", "a", "e", "b", "d", "a"}, {"a", "b", "d", "e"}},
        {{"b", "a@z", "a", "a@x"}, {"a", "a@x", "a@z", "b"}},  // attributes between their element and its children
        {{"a@z", "a@y", "a@x", "a@y"}, {"a@x", "a@y", "a@z"}},  // in their stored order
        {{"d", "c@x", "c", "a@x"}, {"a@x", "c", "c@x", "d"}},
    };
    for (const row& r : rows) {
        node_collection collection = l.collection(r.gathered);
        collection.sort_document_order();
        EXPECT_EQ(l.names(collection), r.sorted);
        EXPECT_TRUE(collection.is_in_document_order());
    }
    EXPECT_FALSE(l.collection({"a", "a"}).is_in_document_order());  // a duplicate is out of order
    EXPECT_FALSE(l.collection({"a@y", "a@x"}).is_in_document_order());
}

TEST(node_collection, merge_joins_two_ordered_collections_once_each) {
    letters l;
    struct row { names first, second, merged; };
    const row rows[] = {
        {{}, {}, {}},
        {{"a"}, {}, {"a"}},
        {{}, {"b", "c"}, {"b", "c"}},
        {{"a", "c", "e"}, {"b", "c", "d"}, {"a", "b", "c", "d", "e"}},
        {{"a@y", "b"}, {"a", "a@x", "a@y", "a@z"}, {"a", "a@x", "a@y", "a@z", "b"}},
        {{"d", "e"}, {"a", "b"}, {"a", "b", "d", "e"}},
    };
    for (const row& r : rows) {
        EXPECT_EQ(l.names(node_collection::merged(l.collection(r.first), l.collection(r.second))), r.merged);
        EXPECT_EQ(l.names(node_collection::merged(l.collection(r.second), l.collection(r.first))), r.merged);
    }
}

TEST(node_collection, entries_read_as_their_string_values) {
    letters l;
    struct row { const char* entry; std::string text; };
    const row rows[] = {
        {"a", "-3 apples"},  // the text below it
        {"a@x", "12px"},
        {"a@z", ""},
        {"c", ""},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.entry);
        EXPECT_EQ(l.collection({r.entry}).entry_string(0), r.text);
    }
    // Text at every depth in document order, CDATA included, comments and
    // instructions not; an instruction's own string is its data.
    test_support::sample_document mixed("<m>x<!--c--><i>y<![CDATA[z]]><?go  far away?><j/></i>w</m>");
    node_collection element;
    element.append(mixed.element("m"));
    element.append(&mixed.document);
    element.append(mixed.element("j")->PreviousSibling());
    EXPECT_EQ(element.entry_string(0), "xyzw");
    EXPECT_EQ(element.entry_string(1), "xyzw");
    EXPECT_EQ(element.entry_string(2), "far away");
}
