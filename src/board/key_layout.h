#pragma once
// Where the printed margin keys lie, in raw board units. The key calibration derives it; the
// interpolation tests every sample against it.
#include <array>
#include <cstdint>

namespace raz {

struct KeyLayout {
  std::int32_t KeyMarginLeft = 764;
  std::int32_t KeyMarginRight = 2815;
  // Band k (0..8) is the open interval from KeyBounds[k] to KeyBounds[k + 1].
  std::array<std::int32_t, 10> KeyBounds{1589, 1659, 1736, 1813, 1891,
                                         1968, 2044, 2125, 2203, 2278};
};

}  // namespace raz
