// The platform's mode-string parser, which qv.dll gives every mode string,
// held to the table the library's own POSIX parser is held to: the same
// strings accepted with the same line settings, the same strings refused.

#include "mode_string_cases.h"
#include "win32_dcb.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace qv::test {
namespace {

// BuildCommDCBA on a line record holding line; the line it leaves.
bool platformParse(const char* text, LineState& line) {
    DCB dcb{};
    win32::applyLineState(dcb, line);
    if (BuildCommDCBA(text, &dcb) == FALSE)
        return false;
    line = win32::lineStateFromDcb(dcb);
    return true;
}

std::string describe(const LineState& l) {
    std::ostringstream out;
    out << "baud " << l.BaudRate << " data " << int{l.ByteSize} << " parity " << int(l.Parity)
        << " stop " << int(l.StopBits) << " octs " << l.fOutxCtsFlow << " odsr " << l.fOutxDsrFlow
        << " idsr " << l.fDsrSensitivity << " outx " << l.fOutX << " inx " << l.fInX << " dtr "
        << int(l.fDtrControl) << " rts " << int(l.fRtsControl);
    return out.str();
}

TEST(DllModeStrings, ThePlatformParserAcceptsTheSameLines) {
    for (const ModeCase& c : kAcceptedModeStrings) {
        SCOPED_TRACE(c.text);
        LineState line = startLine();
        LineState expected = startLine();
        c.change(expected);
        EXPECT_TRUE(platformParse(c.text, line));
        EXPECT_EQ(describe(line), describe(expected));
    }
}

TEST(DllModeStrings, ThePlatformParserRefusesTheSameStrings) {
    for (const char* text : kRefusedModeStrings) {
        SCOPED_TRACE(text);
        LineState line = startLine();
        SetLastError(0);
        EXPECT_FALSE(platformParse(text, line));
        EXPECT_EQ(GetLastError(), 87U); // ERROR_INVALID_PARAMETER
    }
}

} // namespace
} // namespace qv::test
