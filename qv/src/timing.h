#pragma once
// Timing primitives shared by the device families. Every wait polls the
// platform clock and sleeps for a millisecond between polls, so a wait costs
// next to no processor time while its counts and limits stay exact.

#include <cstdint>
#include <functional>

namespace qv {

// Sleep between two polls of a wait.
inline constexpr std::uint32_t kPollSleepMs = 1;

// Waits until the tick counter has moved more than ms milliseconds from its
// first reading (returns at once for ms < 0).
void TickWait(std::int32_t ms);

// Seconds field (0 to 59) of the current UTC time.
int GetSec();

// Reply collection after a request has been sent to port: reads one byte at a
// time with QVReadByte (-1 when none is waiting) and hands it to handle, which
// returns true when the request is complete. Gives up after the seconds field
// of the clock has changed ReplyBase times. True when handle completed the
// request, false on time-out.
bool WaitReply(std::int32_t port, const std::function<bool(std::int32_t)>& handle);

} // namespace qv
