#pragma once
// How often Timer1 polls the board: the pen's response mode, and the slow poll of an idle
// board.
#include <cstdint>
#include <optional>

namespace raz {

// Classic decodes the first report of each poll, smooths with the three-tap filter and paces
// the poll by the pen's speed; responsive decodes every report, smooths with the 1-euro filter
// and polls every millisecond. Stored as PenResponse in VaziZod.ini.
enum class PenResponse : std::int32_t { Classic = 0, Responsive = 1 };

// Any stored number other than 1 is classic, as an absent key is.
constexpr PenResponse PenResponseFromStored(std::int32_t stored) {
  return stored == 1 ? PenResponse::Responsive : PenResponse::Classic;
}

inline constexpr std::uint32_t kClassicStartInterval = 2;  // ms, Timer1's design interval
inline constexpr std::uint32_t kResponsivePollInterval = 1;

// The interval Timer1 starts with, or takes when the mode is chosen.
constexpr std::uint32_t BusyPollInterval(PenResponse response) {
  return response == PenResponse::Responsive ? kResponsivePollInterval : kClassicStartInterval;
}

// With no pen seen for this long the board is polled slowly. 60 ms is a multiple of every
// busy interval (1, 2, 5, 12, 20 ms), so the polls stay on the grid they were on.
inline constexpr std::uint32_t kIdlePollInterval = 60;
inline constexpr std::uint64_t kIdleAfterMicros = 5'000'000;

struct PollPace {
  bool Started = false;
  bool Idle = false;
  std::uint64_t LastPenMicros = 0;  // the last poll whose reports showed a pen
  std::uint32_t BusyInterval = 0;   // the interval to go back to when a pen shows
};

// One poll: whether any report it read showed a pen (touch, hover or right button). Returns
// Timer1's new interval when it must change: the slow one once no pen has shown for a while,
// the one of before at the first report with a pen.
std::optional<std::uint32_t> PacePoll(PollPace& pace, bool penSeen, std::uint64_t micros,
                                      std::uint32_t interval);

}  // namespace raz
