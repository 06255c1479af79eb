#include "win32_dcb.h"

namespace qv::win32 {

using platform::LineControl;
using platform::LineState;
using platform::ParityMode;
using platform::StopBitsMode;

void applyLineState(DCB& dcb, const LineState& line) {
    dcb.DCBlength = sizeof dcb;
    dcb.BaudRate = line.BaudRate;
    dcb.ByteSize = line.ByteSize;
    dcb.Parity = static_cast<BYTE>(line.Parity);
    dcb.StopBits = static_cast<BYTE>(line.StopBits);
    dcb.fParity = line.Parity != ParityMode::None ? TRUE : FALSE;
    dcb.fOutxCtsFlow = line.fOutxCtsFlow ? TRUE : FALSE;
    dcb.fOutxDsrFlow = line.fOutxDsrFlow ? TRUE : FALSE;
    dcb.fDsrSensitivity = line.fDsrSensitivity ? TRUE : FALSE;
    dcb.fOutX = line.fOutX ? TRUE : FALSE;
    dcb.fInX = line.fInX ? TRUE : FALSE;
    dcb.fDtrControl = static_cast<DWORD>(line.fDtrControl) & 0x3U;
    dcb.fRtsControl = static_cast<DWORD>(line.fRtsControl) & 0x3U;
}

LineState lineStateFromDcb(const DCB& dcb) {
    LineState line;
    line.BaudRate = dcb.BaudRate;
    line.ByteSize = dcb.ByteSize;
    line.Parity = dcb.Parity <= 4 ? static_cast<ParityMode>(dcb.Parity) : ParityMode::None;
    line.StopBits = dcb.StopBits <= 2 ? static_cast<StopBitsMode>(dcb.StopBits) : StopBitsMode::One;
    line.fOutxCtsFlow = dcb.fOutxCtsFlow != 0;
    line.fOutxDsrFlow = dcb.fOutxDsrFlow != 0;
    line.fDsrSensitivity = dcb.fDsrSensitivity != 0;
    line.fOutX = dcb.fOutX != 0;
    line.fInX = dcb.fInX != 0;
    line.fDtrControl = static_cast<LineControl>(dcb.fDtrControl & 0x3U);
    line.fRtsControl = static_cast<LineControl>(dcb.fRtsControl & 0x3U);
    return line;
}

} // namespace qv::win32
