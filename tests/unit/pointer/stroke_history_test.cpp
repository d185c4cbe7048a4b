#include "pointer/stroke_history.h"

#include <gtest/gtest.h>

#include <vector>

namespace raz {
namespace {

// Feeds a stroke the way the state machine does and returns the positions it would inject.
std::vector<std::int32_t> SmoothStroke(const std::vector<std::int32_t>& xs, std::int32_t count) {
  PointerState p{.HistoryCount = count};
  std::vector<std::int32_t> out;
  for (std::int32_t x : xs) {
    AppendToHistory(p, x, x);
    if (p.HistoryCount > 2) SmoothNewest(p);
    out.push_back(NewestX(p));
  }
  return out;
}

TEST(StrokeHistory, Smoothing_FirstTwoRawThenRecursiveQuarterQuarterHalf) {
  const struct {
    const char* name;
    std::vector<std::int32_t> raw, injected;
    std::int32_t count = 0;  // samples already in the stroke
  } cases[] = {
      {"worked example: 2.5 + 5 + 20 = 27.5", {10, 20, 40}, {10, 20, 27}},
      {"negative: -2.5 truncates toward zero", {-2, -4, -2}, {-2, -4, -2}},
      {"recursive, round the ring: 25 + 18.75 + 50 = 93.75", {0, 100, 100, 100}, {0, 100, 75, 93}},
      // The count wraps to 3, which keeps the ring slot: the last sum is 4/4 + 9/4 + 24/2.
      {"a very long stroke", {0, 8, 16, 24}, {0, 4, 9, 15}, 1'499'999'997},
  };
  for (const auto& c : cases) EXPECT_EQ(SmoothStroke(c.raw, c.count), c.injected) << c.name;
}

}  // namespace
}  // namespace raz
