#pragma once
// Conversions between the library's line state and the Windows line-state
// record (DCB). Fields the line state does not carry keep their values.

#include "platform.h"

#include <windows.h>

namespace qv::win32 {

void applyLineState(DCB& dcb, const platform::LineState& line);

platform::LineState lineStateFromDcb(const DCB& dcb);

} // namespace qv::win32
