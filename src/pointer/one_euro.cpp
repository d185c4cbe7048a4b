#include "pointer/one_euro.h"

#include <algorithm>
#include <cmath>
#include <numbers>

// A fixed low-pass filter must choose between a still resting pen (low cut-off) and a cursor
// that keeps up with a fast stroke (high cut-off). The 1-euro filter (Casiez, Roussel and
// Vogel, CHI 2012) lets the cut-off rise with the pen's speed: at rest it averages the noise
// away, in a stroke it follows closely. The speed that drives the cut-off is itself low-pass
// filtered, so noise does not open the filter. Both axes share the cut-off of the pen's speed
// in the plane, so a diagonal stroke is treated like a straight one.

namespace raz {
namespace {

// Two reports stamped with one time still count as apart; a long gap counts as a fresh start.
constexpr double kShortestStep = 1e-4;
constexpr double kLongestStep = 0.1;

double Alpha(double cutoffHz, double seconds) {
  const double tau = 1.0 / (2.0 * std::numbers::pi * cutoffHz);
  return 1.0 / (1.0 + tau / seconds);
}

void FilterSpeed(OneEuroAxis& axis, double raw, double seconds, double alpha) {
  const double speed = (raw - axis.Value) / seconds;
  axis.Speed += alpha * (speed - axis.Speed);
}

}  // namespace

void StartFilter(OneEuroState& filter, std::int32_t x, std::int32_t y, std::uint64_t micros) {
  filter.X = {static_cast<double>(x), 0.0};
  filter.Y = {static_cast<double>(y), 0.0};
  filter.LastMicros = micros;
  filter.Primed = true;
  filter.RawX = x;
  filter.RawY = y;
}

FilteredPoint FilterPosition(OneEuroState& filter, std::int32_t x, std::int32_t y,
                             std::uint64_t micros, const OneEuroParams& params) {
  const double elapsed =
      micros > filter.LastMicros ? static_cast<double>(micros - filter.LastMicros) * 1e-6 : 0.0;
  const double seconds = std::clamp(elapsed, kShortestStep, kLongestStep);
  filter.LastMicros = micros;
  filter.RawX = x;
  filter.RawY = y;
  const double speedAlpha = Alpha(params.DerivativeCutoffHz, seconds);
  FilterSpeed(filter.X, x, seconds, speedAlpha);
  FilterSpeed(filter.Y, y, seconds, speedAlpha);
  const double cutoff = params.MinCutoffHz + params.Beta * std::hypot(filter.X.Speed, filter.Y.Speed);
  const double alpha = Alpha(cutoff, seconds);
  filter.X.Value += alpha * (x - filter.X.Value);
  filter.Y.Value += alpha * (y - filter.Y.Value);
  return {filter.X.Value, filter.Y.Value};
}

}  // namespace raz
