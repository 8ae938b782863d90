// TinyXML's attribute queries as patched to read numbers without sscanf:
// they accept what "%d" and "%lf" accept and refuse what those refuse.
#include <gtest/gtest.h>

#include <tinyxml.h>

TEST(tinyxml_attribute_numbers, read_as_scanf_would_and_clamp_ints) {
    struct row { const char* value; int int_status; int integer; int double_status; double real; };
    const row rows[] = {
        {"42", TIXML_SUCCESS, 42, TIXML_SUCCESS, 42.0},
        {" -7px", TIXML_SUCCESS, -7, TIXML_SUCCESS, -7.0},
        {"+3", TIXML_SUCCESS, 3, TIXML_SUCCESS, 3.0},
        {"2.5", TIXML_SUCCESS, 2, TIXML_SUCCESS, 2.5},
        {"1e3", TIXML_SUCCESS, 1, TIXML_SUCCESS, 1000.0},
        {"0x10", TIXML_SUCCESS, 0, TIXML_SUCCESS, 16.0},
        {"99999999999", TIXML_SUCCESS, 2147483647, TIXML_SUCCESS, 99999999999.0},
        {"-99999999999", TIXML_SUCCESS, -2147483647 - 1, TIXML_SUCCESS, -99999999999.0},
        {"", TIXML_WRONG_TYPE, -1, TIXML_WRONG_TYPE, -1.0},
        {"  ", TIXML_WRONG_TYPE, -1, TIXML_WRONG_TYPE, -1.0},
        {"x1", TIXML_WRONG_TYPE, -1, TIXML_WRONG_TYPE, -1.0},
        {"-", TIXML_WRONG_TYPE, -1, TIXML_WRONG_TYPE, -1.0},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.value);
        TiXmlElement element("e");
        element.SetAttribute("n", r.value);
        int integer = -1;
        double real = -1.0;
        EXPECT_EQ(element.QueryIntAttribute("n", &integer), r.int_status);
        EXPECT_EQ(integer, r.integer);
        EXPECT_EQ(element.QueryDoubleAttribute("n", &real), r.double_status);
        EXPECT_EQ(real, r.real);
    }
}
