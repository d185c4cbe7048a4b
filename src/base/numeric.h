#pragma once
// Number conversions shared by every stage. A float becomes an integer by truncation toward
// zero; values the 32-bit range cannot hold saturate instead of being undefined.
#include <cmath>
#include <cstdint>
#include <limits>

namespace raz {

inline std::int32_t TruncToInt(long double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0L) return std::numeric_limits<std::int32_t>::max();
  if (value <= -2147483648.0L) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

// The pen position's own rounding: truncate toward zero, then round up only when more than
// half remains. Exactly .5 rounds down and negative values are only truncated.
inline std::int32_t RoundSample(long double value) {
  const std::int32_t truncated = TruncToInt(value);
  if (truncated == std::numeric_limits<std::int32_t>::max()) return truncated;
  return value - truncated > 0.5L ? truncated + 1 : truncated;
}

}  // namespace raz
