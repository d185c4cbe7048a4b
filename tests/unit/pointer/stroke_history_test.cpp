#include "pointer/stroke_history.h"

#include <gtest/gtest.h>

#include <vector>

namespace raz {
namespace {

// Feeds a stroke the way the state machine does and returns the positions it would inject.
std::vector<std::int32_t> SmoothStroke(const std::vector<std::int32_t>& xs, PointerState& p) {
  std::vector<std::int32_t> out;
  for (std::int32_t x : xs) {
    AppendToHistory(p, x, -x);
    if (p.HistoryCount > 2) SmoothNewest(p);
    out.push_back(NewestX(p));
    EXPECT_EQ(NewestY(p), -NewestX(p)) << "the axes are smoothed alike, x " << x;
  }
  return out;
}

struct StrokeCase {
  const char* name;
  std::vector<std::int32_t> raw;
  std::vector<std::int32_t> injected;
};

TEST(StrokeHistory, Smoothing_FirstTwoRawThenRecursiveQuarterQuarterHalf) {
  const StrokeCase cases[] = {
      // 0.25*10 + 0.25*20 + 0.5*40 = 27.5.
      {"worked example", {10, 20, 40}, {10, 20, 27}},
      // -2.5 truncates toward zero.
      {"negative", {-2, -4, -2}, {-2, -4, -2}},
      // The fourth sum uses the smoothed third: 25 + 18.75 + 50 = 93.75.
      {"recursive", {0, 100, 100, 100}, {0, 100, 75, 93}},
      // Ring slots wrap: each sum reads the two newest, already smoothed entries.
      {"long", {0, 8, 16, 24, 32, 40}, {0, 8, 10, 16, 22, 29}},
  };
  for (const StrokeCase& c : cases) {
    PointerState p;
    EXPECT_EQ(SmoothStroke(c.raw, p), c.injected) << c.name;
  }
}

TEST(StrokeHistory, AVeryLongStroke_WrapsItsCountWithoutLosingItsPlace) {
  PointerState p;
  p.HistoryCount = 1'499'999'997;
  SmoothStroke({0, 8, 16}, p);
  EXPECT_EQ(p.HistoryCount, 3);
  EXPECT_EQ(SmoothStroke({24}, p), std::vector<std::int32_t>{15});  // 4/4 + 9/4 + 24/2
}

}  // namespace
}  // namespace raz
