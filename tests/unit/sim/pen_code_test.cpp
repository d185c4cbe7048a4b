#include "sim/pen_code.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "board/report_status.h"

namespace raz::sim {

constexpr std::int32_t kStrongSignal = 31;

// The driver's own decoder judges the bytes, so a state the simulator gets wrong shows up as a
// disagreement instead of being copied.
TEST(StatusBytesFor, PicksBytesThatTheDriverReadsAsTheWantedStatus) {
  constexpr auto kMixed = BoardKind::Mixed, kOne = BoardKind::TypeOne, kTwo = BoardKind::TypeTwo;
  const PenStatus wanted[] = {PenStatus::Touch, PenStatus::Hover, PenStatus::RightButton,
                             PenStatus::NoPen};
  // The report type expected for each wanted status in that order; -1: it cannot be sent. With
  // Pen and PenRight at 0 every low type-2 code means right; at 10, 20 the right band swallows
  // the hover band; at 255, 1000 every type-2 code is touch, so "no pen" falls back to type 0.
  const std::tuple<BoardKind, std::int32_t, std::int32_t, std::array<int, 4>> rows[] = {
      {kMixed, 0, 0, {1, 2, 2, 2}},    {kTwo, 0, 0, {-1, 2, 2, 2}},
      {kTwo, 10, 60, {2, 2, 2, 2}},    {kOne, 10, 60, {1, -1, -1, 1}},
      {kMixed, 10, 20, {1, -1, 2, 2}}, {kTwo, 255, 1000, {2, -1, -1, 0}}};
  for (const auto& [kind, touchLimit, rightCentre, types] : rows) {
    for (std::size_t i = 0; i < 4; ++i) {
      SCOPED_TRACE(testing::Message() << "kind " << static_cast<int>(kind) << " Pen " << touchLimit
                                      << " PenRight " << rightCentre << " wanted " << static_cast<int>(wanted[i]));
      const auto bytes = StatusBytesFor(wanted[i], {kind, touchLimit, rightCentre});
      EXPECT_EQ(bytes.has_value(), types[i] >= 0);
      if (!bytes) continue;
      EXPECT_EQ(bytes->status & 3, types[i]);
      EXPECT_EQ(DecodeStatus(bytes->status, bytes->penCode, kStrongSignal, {touchLimit, rightCentre}),
                wanted[i]);
    }
  }
}

}  // namespace raz::sim
