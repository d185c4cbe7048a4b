#pragma once
// razazide-record without Windows: opens the board as the driver's device watch does, then
// polls it on a fixed period as Timer1 does and writes what each poll read as one capture line,
// so that razazide-sim --capture replays what the board sent, one batch per driver tick.
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>

#include "platform/clock.h"
#include "platform/vendor_usb.h"

namespace raz::record {

// 2 ms is Timer1's first interval and its finest: at the usual report rates a poll then
// catches at most one report, so no report is hidden behind another in the replay.
inline constexpr std::uint32_t kDefaultPollMs = 2;
inline constexpr std::uint32_t kDefaultSeconds = 30;

struct RecordSettings {
  std::uint32_t seconds = kDefaultSeconds;
  std::uint32_t pollMs = kDefaultPollMs;
  // The link rate follows the framing as in the driver; a framing other than 0 and 1 sets none.
  std::int32_t framing = 0;
};

enum class RecordOutcome {
  Recorded,
  BoardAbsent,  // the probe found no board
  OpenRefused,  // a board is there but would not open: another program holds it
};

struct RecordSummary {
  RecordOutcome outcome = RecordOutcome::Recorded;
  std::int32_t status = 0;  // status of the probe or open that refused
  std::optional<std::uint32_t> linkRate;
  std::int32_t linkRateStatus = 0;
  std::uint64_t polls = 0;
  std::uint64_t pollsWithData = 0;
  std::uint64_t bytes = 0;
  std::uint64_t failedPolls = 0;  // queue status or read refused: the driver got nothing either
  std::optional<std::uint64_t> firstFailureMicros;  // since the recording started
  std::uint64_t longestGapMicros = 0;  // between two polls; a busy machine stretches it
};

// Blocks until the next poll is due: the Windows program waits on a periodic precise timer,
// tests move a virtual clock on.
using WaitForTick = std::function<void()>;

// Writes comment lines about the link, one line per poll, and a closing comment with the
// counts. Nothing is written when the board cannot be opened.
RecordSummary RecordBoard(VendorUsb& usb, const Clock& clock, const WaitForTick& waitForTick,
                          const RecordSettings& settings, std::ostream& capture);

}  // namespace raz::record
