#pragma once
// Pen position between cells: the cell fix of each axis refined by how far the amplitude
// spread is from a learned full swing, then tested against the margin keys and mapped onto
// the screen.
#include <cstdint>

namespace raz {

struct DriverState;

// Below this LevelY a report moves nothing.
inline constexpr std::int32_t kInterpolationLevel = 30;

// Runs at the end of every decode that reached the Y row.
void InterpolatePosition(DriverState& state);

// Float to pixel: truncate toward zero, then round up only when more than half remains.
// Exactly .5 rounds down and negative values are only truncated.
std::int32_t RoundSample(long double value);

}  // namespace raz
