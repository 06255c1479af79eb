#pragma once
// Printer family 7: the requests the printer answers on COM1, each with the
// last send before the wait, the printer's answer (none: a time-out) and
// what the request gives. Times are those of the in-memory backend's virtual
// clock, which starts on a whole second: the printer answers 300 ms after
// the request, and the default limit of 2 changes of the seconds field ends
// a wait at 2000 ms.

#include "command_table.h"

#include <array>

namespace qv::test {

using Bytes = std::vector<std::uint8_t>;
using Status = std::array<std::uint8_t, 16>;

inline constexpr std::uint64_t kAnswerAfterMs = 300;
inline constexpr std::uint64_t kTimeOutMs = 2000;

struct ByteReplyCase {
    const char* name;
    std::function<int32_t()> call;
    Bytes request; // the last send before the wait
    Bytes answer;  // empty: no answer
    int32_t result;
    std::uint64_t elapsed;
};

inline const ByteReplyCase kByteReplyCases[] = {
    {"QV7Cover mode 0", [] { return QV7Cover(1, 0); }, hex("1B 43"), {0x00}, 0, kAnswerAfterMs},
    {"QV7Cover other mode",
     [] { return QV7Cover(1, 5); },
     hex("1B 63"),
     {0x81, 0x01},
     0x81,
     kAnswerAfterMs},
    {"QV7Cover negative mode",
     [] { return QV7Cover(1, -1); },
     hex("1B 63"),
     {0x30},
     0x30,
     kAnswerAfterMs},
    {"QV7Cover time-out", [] { return QV7Cover(1, 0); }, hex("1B 43"), {}, -1, kTimeOutMs},
    {"QV7PrnCod byte above 0",
     [] { return QV7PrnCod(1, 1, 2, 3, 4, 5, "AB"); },
     hex("0D"),
     {0x06},
     1,
     kAnswerAfterMs},
    {"QV7PrnCod byte 00",
     [] { return QV7PrnCod(1, 1, 2, 3, 4, 5, "AB"); },
     hex("0D"),
     {0x00, 0x06},
     0,
     kAnswerAfterMs},
    {"QV7PrnCod time-out",
     [] { return QV7PrnCod(1, 1, 2, 3, 4, 5, "AB"); },
     hex("0D"),
     {},
     0,
     kTimeOutMs},
};

struct ChecksumCase {
    const char* name;
    Bytes answer;
    int32_t result;
    Status status; // bytes 0 to 2: the request's result, the last byte answered, SendChk
};

inline const ChecksumCase kChecksumCases[] = {
    {"matching byte", {0x42}, 1, {0x02, 0x42, 0x42}},
    {"wrong byte, then the matching one", {0x10, 0x42, 0x77}, 1, {0x02, 0x42, 0x42}},
    {"only a wrong byte", {0x10}, 0, {0x02, 0x10, 0x42}},
    {"no answer", {}, 0, {0x02, 0x00, 0x00}},
};

struct StatusCase {
    const char* name;
    Bytes answer;
    Status status;
    std::uint64_t elapsed;
};

inline const StatusCase kStatusCases[] = {
    {"ends with the line feed", hex("41 42 43 0A 44"), {0x41, 0x42, 0x43, 0x0A}, kAnswerAfterMs},
    {"ends after 12 bytes",
     hex("41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F"),
     {0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C},
     kAnswerAfterMs},
    {"bytes 00 to 09 are left out", hex("05 41 00 09 42 0A"), {0x41, 0x42, 0x0A}, kAnswerAfterMs},
    {"time-out keeps what came", hex("41 42"), {0x41, 0x42}, kTimeOutMs},
    {"no answer", {}, {}, kTimeOutMs},
};

} // namespace qv::test
