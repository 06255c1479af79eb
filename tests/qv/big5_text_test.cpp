// Callers' Big5 texts decoded to the characters that are drawn.

#include "big5_text.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

TEST(Big5Text, DecodesCodePage950) {
    struct Case {
        const char* name;
        std::string bytes;
        std::u32string expected;
    };
    const Case cases[] = {
        {"empty", "", U""},
        {"ASCII", "Total 12.50", U"Total 12.50"},
        {"two characters", "\xA4\xA4\xA4\xE5", U"\u4E2D\u6587"},
        {"mixed",
         "A\xA4\xA4"
         "B",
         U"A\u4E2DB"},
        {"member management", "\xB7|\xAD\xFB\xBA\xDE\xB2z", U"\u6703\u54E1\u7BA1\u7406"},
        {"lead byte cut off at the end", "A\xA4", U"A?"},
        {"byte that starts no character",
         "\xFF"
         "A",
         U"?A"},
        {"lead byte before a control byte",
         "\xA4\x0A"
         "B",
         U"?\nB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(decodeBig5(c.bytes), c.expected);
    }
}

TEST(Big5Text, LongTextsDecodeWhole) {
    std::string bytes;
    for (int i = 0; i < 3000; ++i)
        bytes += "\xA4\xA4";
    std::u32string decoded = decodeBig5(bytes);
    ASSERT_EQ(decoded.size(), 3000U);
    EXPECT_EQ(decoded.find_first_not_of(U'\u4E2D'), std::u32string::npos);
}

} // namespace
} // namespace qv::test
