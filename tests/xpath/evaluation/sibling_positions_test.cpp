// Sibling positions through the per-parent lists: the same answers as the
// walk along the siblings, for mixed names, text and comments between the
// elements, and questions that jump between parents and names.
#include <gtest/gtest.h>

#include <string>

#include "sample_document.hpp"
#include "xpath/evaluation/sibling_positions.hpp"

namespace {

TiXmlElement* element_with_id(TiXmlNode* node, const std::string& id) {
    TiXmlElement* element = node->ToElement();
    if (element && element->Attribute("id") && id == element->Attribute("id")) return element;
    for (TiXmlNode* child = node->FirstChild(); child; child = child->NextSibling())
        if (TiXmlElement* found = element_with_id(child, id)) return found;
    return nullptr;
}

}  // namespace

TEST(sibling_positions, positions_and_counts_by_parent_and_name) {
    test_support::sample_document sample(
        "<r><a id='1'/>t<b id='2'/><!--c--><a id='3'><a id='4'/><b id='5'/></a><c id='6'/><a id='7'/></r>");
    struct row { const char* id; std::int32_t position, same_name_position, count; };
    const row rows[] = {
        {"3", 3, 2, 5}, {"4", 1, 1, 2}, {"1", 1, 1, 5}, {"7", 5, 3, 5},
        {"5", 2, 1, 2}, {"2", 2, 1, 5}, {"6", 4, 1, 5}, {"3", 3, 2, 5},
    };
    xpath::sibling_positions positions;
    for (const row& r : rows) {
        SCOPED_TRACE(r.id);
        TiXmlElement* element = element_with_id(&sample.document, r.id);
        ASSERT_NE(element, nullptr);
        EXPECT_EQ(positions.position(element, false), r.position);
        EXPECT_EQ(positions.position(element, true), r.same_name_position);
        EXPECT_EQ(positions.count(element), r.count);
    }
    TiXmlElement* top = sample.element("r");
    EXPECT_EQ(positions.position(top, false), 1);  // the document's only element
    TiXmlElement orphan("o");
    EXPECT_EQ(positions.position(&orphan, true), -1);
    EXPECT_EQ(positions.count(&orphan), 0);
}
