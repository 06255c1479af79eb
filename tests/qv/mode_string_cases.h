#pragma once
// One table of mode strings with what each does to a line, or that it is
// refused. The library's own parser is held to it on POSIX, and the
// platform's parser (BuildCommDCBA), which qv.dll uses, under Wine: the two
// builds accept and refuse the same strings with the same line settings.

#include "platform.h"

#include <functional>

namespace qv::test {

using platform::LineControl;
using platform::LineState;
using platform::ParityMode;
using platform::StopBitsMode;

// A line state that differs from every value a mode string below sets, so a
// field left alone is seen to be left alone.
inline LineState startLine() {
    LineState line;
    line.BaudRate = 2400;
    line.ByteSize = 6;
    line.Parity = ParityMode::Space;
    line.StopBits = StopBitsMode::OnePointFive;
    line.fOutxCtsFlow = true;
    line.fOutxDsrFlow = true;
    line.fDsrSensitivity = true;
    line.fOutX = true;
    line.fInX = true;
    line.fDtrControl = LineControl::Handshake;
    line.fRtsControl = LineControl::Toggle;
    return line;
}

struct ModeCase {
    const char* text;
    std::function<void(LineState&)> change; // what the text does to startLine()
};

inline void noFlowControl(LineState& l) {
    l.fOutX = l.fInX = l.fOutxCtsFlow = l.fOutxDsrFlow = false;
    l.fDtrControl = l.fRtsControl = LineControl::Enable;
}

inline const ModeCase kAcceptedModeStrings[] = {
    {"9600,N,8,1",
     [](LineState& l) {
         l.BaudRate = 9600;
         l.Parity = ParityMode::None;
         l.ByteSize = 8;
         l.StopBits = StopBitsMode::One;
         noFlowControl(l);
     }},
    {"96,e,7,2",
     [](LineState& l) {
         l.BaudRate = 9600;
         l.Parity = ParityMode::Even;
         l.ByteSize = 7;
         l.StopBits = StopBitsMode::Two;
         noFlowControl(l);
     }},
    {"COM3: 115200 , O , 8 , 1.5",
     [](LineState& l) {
         l.BaudRate = 115200;
         l.Parity = ParityMode::Odd;
         l.ByteSize = 8;
         l.StopBits = StopBitsMode::OnePointFive;
         noFlowControl(l);
     }},
    {"9600,m,8,1,x",
     [](LineState& l) {
         l.BaudRate = 9600;
         l.Parity = ParityMode::Mark;
         l.ByteSize = 8;
         l.StopBits = StopBitsMode::One;
         noFlowControl(l);
         l.fOutX = l.fInX = true;
     }},
    {"9600,s,8,1,P",
     [](LineState& l) {
         l.BaudRate = 9600;
         l.Parity = ParityMode::Space;
         l.ByteSize = 8;
         l.StopBits = StopBitsMode::One;
         l.fOutX = l.fInX = false;
         l.fOutxCtsFlow = l.fOutxDsrFlow = true;
         l.fDtrControl = l.fRtsControl = LineControl::Handshake;
     }},
    {"baud=1200 parity=N data=8 stop=1",
     [](LineState& l) {
         l.BaudRate = 1200;
         l.Parity = ParityMode::None;
         l.ByteSize = 8;
         l.StopBits = StopBitsMode::One;
     }},
    {"BAUD=38400", // stop bits not named are one
     [](LineState& l) {
         l.BaudRate = 38400;
         l.StopBits = StopBitsMode::One;
     }},
    {"11,n,8,1",
     [](LineState& l) {
         l.BaudRate = 110;
         l.Parity = ParityMode::None;
         l.ByteSize = 8;
         l.StopBits = StopBitsMode::One;
         noFlowControl(l);
     }},
    {"0,N,8,1",
     [](LineState& l) {
         l.BaudRate = 0;
         l.Parity = ParityMode::None;
         l.ByteSize = 8;
         l.StopBits = StopBitsMode::One;
         noFlowControl(l);
     }},
    {"", [](LineState& l) { l.StopBits = StopBitsMode::One; }}, // as a long form naming nothing
    {"COM1:", [](LineState& l) { l.StopBits = StopBitsMode::One; }},
    {"baud=110",
     [](LineState& l) {
         l.BaudRate = 110;
         l.StopBits = StopBitsMode::Two;
     }},
    {"baud=110 stop=1",
     [](LineState& l) {
         l.BaudRate = 110;
         l.StopBits = StopBitsMode::One;
     }},
    {"com1: data=7  parity=o",
     [](LineState& l) {
         l.ByteSize = 7;
         l.Parity = ParityMode::Odd;
         l.StopBits = StopBitsMode::One;
     }},
    {"xon=off octs=off odsr=off idsr=off",
     [](LineState& l) {
         l.fOutX = l.fInX = false;
         l.fOutxCtsFlow = l.fOutxDsrFlow = l.fDsrSensitivity = false;
         l.StopBits = StopBitsMode::One;
     }},
    {"dtr=off rts=on",
     [](LineState& l) {
         l.fDtrControl = LineControl::Disable;
         l.fRtsControl = LineControl::Enable;
         l.StopBits = StopBitsMode::One;
     }},
    {"dtr=on rts=off to=on",
     [](LineState& l) {
         l.fDtrControl = LineControl::Enable;
         l.fRtsControl = LineControl::Disable;
         l.StopBits = StopBitsMode::One;
     }},
};

inline const char* const kRefusedModeStrings[] = {
    "   ",
    "9600,N,8,1,x,extra",
    "9600,Q,8,1",
    "9600,N,9,1",
    "9600,N,4,1",
    "9600,N,8,3",
    "96OO,N,8,1",
    "9600,NO",
    "9600,N,8,1,xp",
    "baud=abc",
    "baud=9600 speed=2",
    "baud=9600 dtr=tg",
    "parity=x",
    "xon=maybe",
    "baud=9600 stray",
    "19200",
    "4800,,5",
    "11,n,8",
    "9600,N,8",
    "dtr=off rts=hs",
    "dtr=on rts=tg",
    "rts=hs",
};

} // namespace qv::test
