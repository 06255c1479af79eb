// Mode strings in both forms: what they change, what they leave alone, and
// what they refuse.

#include "mode_string.h"
#include "mode_string_cases.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

TEST(ModeString, AcceptedStringsChangeExactlyTheirFields) {
    for (const ModeCase& c : kAcceptedModeStrings) {
        SCOPED_TRACE(c.text);
        LineState line = startLine();
        LineState expected = startLine();
        c.change(expected);
        EXPECT_TRUE(parseModeString(c.text, line));
        EXPECT_EQ(line, expected);
    }
}

TEST(ModeString, RefusedStringsLeaveTheLineUnchanged) {
    for (const char* text : kRefusedModeStrings) {
        SCOPED_TRACE(text);
        LineState line = startLine();
        EXPECT_FALSE(parseModeString(text, line));
        EXPECT_EQ(line, startLine());
    }
    LineState line = startLine();
    EXPECT_FALSE(parseModeString(nullptr, line));
    EXPECT_EQ(line, startLine());
}

} // namespace
} // namespace qv::test
