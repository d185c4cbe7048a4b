#pragma once
// Speed-adaptive smoothing of the responsive pen: the 1-euro filter.
#include <cstdint>

namespace raz {

struct OneEuroParams {
  double MinCutoffHz;         // cut-off of a resting pen: low, so a resting pen stays still
  double Beta;                // how fast the cut-off rises with the speed, per pixel per second
  double DerivativeCutoffHz;  // smoothing of the speed estimate that drives the cut-off
};

// Set from the lag aims and the simulator's resting pen at noise sigma 8, checked with
// bench/drag_lag.cpp: see bench/README.md.
inline constexpr OneEuroParams kPenFilter{4.0, 0.2, 8.0};

struct OneEuroAxis {
  double Value = 0.0;  // filtered position, pixels
  double Speed = 0.0;  // filtered speed, pixels per second
};

struct OneEuroState {
  OneEuroAxis X;
  OneEuroAxis Y;
  std::uint64_t LastMicros = 0;
  bool Primed = false;
  // The last raw position taken: a misread is judged against it, not against the lagging
  // filtered one.
  std::int32_t RawX = 0;
  std::int32_t RawY = 0;
};

struct FilteredPoint {
  double x = 0.0;
  double y = 0.0;
};

// A stroke starts where the pen is, at rest.
void StartFilter(OneEuroState& filter, std::int32_t x, std::int32_t y, std::uint64_t micros);

// Takes one raw position at its time and returns the filtered one.
FilteredPoint FilterPosition(OneEuroState& filter, std::int32_t x, std::int32_t y,
                             std::uint64_t micros, const OneEuroParams& params = kPenFilter);

}  // namespace raz
