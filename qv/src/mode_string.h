#pragma once
// Parses a serial mode string into a line state, in either of the two forms
// the MODE command knows:
//   short: "9600,N,8,1" (baud, parity, data bits, stop bits, optional x or p)
//   long:  "baud=9600 parity=N data=8 stop=1 xon=off octs=on dtr=hs ..."
// An optional "COMn:" prefix is skipped. Fields the string does not name keep
// their values, except that the short form always sets the flow control (none,
// XON/XOFF for a trailing x, hardware for a trailing p) and a rate of 110 baud
// without a stop-bit field takes 2 stop bits.

#include "platform.h"

namespace qv {

// True when the whole string was understood; on false the line is unchanged
// and the refusal is the calling thread's last error (on Windows as the
// platform's parser set it).
bool parseModeString(const char* text, platform::LineState& line);

} // namespace qv
