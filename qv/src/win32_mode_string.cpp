// Mode strings on Windows are read by the platform's own parser
// (BuildCommDCBA), exactly as the point-of-sale programs' own tools read them.

#include "mode_string.h"

#include "error_kind.h"
#include "win32_dcb.h"

namespace qv {

bool parseModeString(const char* text, platform::LineState& line) {
    if (text == nullptr) {
        recordError(ErrorKind::RefusedSetting);
        return false;
    }
    DCB dcb{};
    win32::applyLineState(dcb, line);
    if (BuildCommDCBA(text, &dcb) == FALSE)
        return false;
    line = win32::lineStateFromDcb(dcb);
    return true;
}

} // namespace qv
