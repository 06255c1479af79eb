// The serial mode-string parser ("9600,N,8,1", "baud=9600 parity=n ...")
// over any text: a string it refuses must leave the line as it was, and one
// it takes must give a line the platform can be asked for.

#include "mode_string.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size); // stops at a NUL
    qv::platform::LineState before;
    before.BaudRate = 4800;
    before.ByteSize = 7;
    before.Parity = qv::platform::ParityMode::Even;
    qv::platform::LineState line = before;
    if (!qv::parseModeString(text.c_str(), line)) {
        if (!(line == before))
            std::abort(); // a refused string changed the line
        return 0;
    }
    if (line.BaudRate == 0 || line.ByteSize < 5 || line.ByteSize > 8 ||
        static_cast<int>(line.Parity) > 4 || static_cast<int>(line.StopBits) > 2 ||
        static_cast<int>(line.fDtrControl) > 3 || static_cast<int>(line.fRtsControl) > 3)
        std::abort();
    return 0;
}
