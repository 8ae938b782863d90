// The scanner's reader: copy, advance and peek at the edges.
#include <gtest/gtest.h>

#include "front_end/char_reader.hpp"

TEST(char_reader, empty_and_null_expressions_have_nothing_more) {
    for (const char* expression : {"", static_cast<const char*>(nullptr)}) {
        xpath::char_reader reader(expression);
        EXPECT_EQ(reader.length, 1);
        EXPECT_FALSE(reader.more);
        EXPECT_EQ(reader.position, reader.end);
        EXPECT_EQ(reader.advance(), 0);
        EXPECT_EQ(reader.position, reader.end);
        EXPECT_EQ(reader.peek(), 0);
    }
}

TEST(char_reader, advances_to_the_end_and_stays) {
    char expression[] = "ab";
    xpath::char_reader reader(expression);
    expression[0] = 'x';  // the reader owns a copy
    EXPECT_EQ(reader.length, 3);
    EXPECT_TRUE(reader.more);
    EXPECT_EQ(reader.current(), 'a');
    EXPECT_EQ(reader.peek(), 'b');
    EXPECT_EQ(reader.advance(), 'a');
    EXPECT_TRUE(reader.more);
    EXPECT_EQ(reader.peek(), 0);  // the last byte peeks at the terminator
    EXPECT_EQ(reader.advance(), 'b');
    EXPECT_FALSE(reader.more);
    EXPECT_EQ(reader.current(), 0);
    EXPECT_EQ(reader.advance(), 0);
    EXPECT_EQ(reader.position, reader.end);
}
