#include "pointer/poll_pace.h"

// Polling an empty board every millisecond or two costs a laptop on battery all day. After a
// while with no pen the board is asked only every 60 ms; the reports it queued meanwhile are
// still read, so the first that shows a pen, a hovering one usually, brings the fast poll back
// before the pen touches.

namespace raz {

std::optional<std::uint32_t> PacePoll(PollPace& pace, bool penSeen, std::uint64_t micros,
                                      std::uint32_t interval) {
  if (!pace.Started || penSeen) {
    pace.Started = true;
    pace.LastPenMicros = micros;
  }
  if (penSeen && pace.Idle) {
    pace.Idle = false;
    return pace.BusyInterval;
  }
  if (pace.Idle || micros - pace.LastPenMicros < kIdleAfterMicros) return std::nullopt;
  pace.Idle = true;
  pace.BusyInterval = interval;
  return kIdlePollInterval;
}

}  // namespace raz
