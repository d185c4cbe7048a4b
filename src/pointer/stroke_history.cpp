#include "pointer/stroke_history.h"

#include "base/numeric.h"

// Pen positions jitter by a pixel or two between samples, which shows as ragged ink. Each
// new drag position is averaged with the two before it, the newest weighing half. The
// average overwrites the newest entry, so later averages build on smoothed predecessors: a
// recursive filter whose lag stays within one sample. Only the three newest entries are ever
// read, so the stroke is kept in a ring of three indexed by HistoryCount.

namespace raz {
namespace {

// A count that is a multiple of three keeps its ring slot when a very long stroke wraps.
constexpr std::int32_t kLongStroke = 1'500'000'000;

std::size_t Slot(std::int32_t index) { return static_cast<std::size_t>(index % 3); }

void SmoothAxis(std::array<std::int32_t, 3>& history, std::int32_t k, float& smoothed) {
  const long double sum = 0.25L * history[Slot(k - 2)] + 0.25L * history[Slot(k - 1)] +
                          0.5L * history[Slot(k)];
  smoothed = static_cast<float>(sum);
  history[Slot(k)] = TruncToInt(smoothed);
}

}  // namespace

void AppendToHistory(PointerState& p, std::int32_t x, std::int32_t y) {
  p.HistoryX[Slot(p.HistoryCount)] = x;
  p.HistoryY[Slot(p.HistoryCount)] = y;
  p.HistoryCount += 1;
  if (p.HistoryCount == kLongStroke) p.HistoryCount = 3;
}

void SmoothNewest(PointerState& p) {
  const std::int32_t k = p.HistoryCount - 1;
  SmoothAxis(p.HistoryX, k, p.SmoothedX);
  SmoothAxis(p.HistoryY, k, p.SmoothedY);
}

std::int32_t NewestX(const PointerState& p) { return p.HistoryX[Slot(p.HistoryCount + 2)]; }
std::int32_t NewestY(const PointerState& p) { return p.HistoryY[Slot(p.HistoryCount + 2)]; }

}  // namespace raz
