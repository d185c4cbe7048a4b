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

}  // namespace raz
