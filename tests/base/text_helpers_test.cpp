#include "base/text_helpers.h"

#include <gtest/gtest.h>

namespace {

struct SplitCase {
    const char* text;
    const char* separator;
    const char* before;
    const char* after;
};

class SplitTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, SplitsAtTheFirstSeparator) {
    const SplitCase& c = GetParam();
    const QString text = QString::fromUtf8(c.text);
    const QString separator = QString::fromUtf8(c.separator);
    EXPECT_EQ(StrBefore(text, separator), QString::fromUtf8(c.before));
    EXPECT_EQ(StrAfter(text, separator), QString::fromUtf8(c.after));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SplitTest,
    testing::Values(SplitCase{"A01.Wang", ".", "A01", "Wang"}, SplitCase{"A01", ".", "A01", "A01"},
                    SplitCase{".Wang", ".", "", "Wang"},
                    SplitCase{"Wang(0912)", "(", "Wang", "0912)"},
                    SplitCase{"Wang", "(", "Wang", "Wang"}, SplitCase{"Wang(", "(", "Wang", ""},
                    SplitCase{"a(b(c", "(", "a", "b(c"},
                    SplitCase{"王小明(0912)", "(", "王小明", "0912)"},
                    SplitCase{"abc", "", "abc", "abc"}, SplitCase{"", ".", "", ""}));

TEST(TrimBlanksTest, RemovesBlanksAndControlsButNotWideSpaces) {
    const struct {
        const char* text;
        const char* both;
        const char* end;
    } cases[] = {
        {" \t王\r\n", "王", " \t王"},
        {"\u3000王\u3000", "\u3000王\u3000", "\u3000王\u3000"},
        {"\x01"
         "A B\x1f ",
         "A B",
         "\x01"
         "A B"},
        {"王", "王", "王"},
        {" \t ", "", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(trimBlanks(text), QString::fromUtf8(c.both)) << c.text;
        EXPECT_EQ(trimBlanksAtEnd(text), QString::fromUtf8(c.end)) << c.text;
    }
}

} // namespace
