#pragma once
// Where the printed margin keys lie, in raw board coordinates.
#include <array>
#include <cstdint>

#include "calibration/calibration_state.h"
#include "platform/messenger.h"

namespace raz {

inline constexpr std::int32_t kMarginLeftWhenOff = 0;
inline constexpr std::int32_t kMarginRightWhenOff = 28450;

struct KeyLayout {
  std::int32_t KeyMarginLeft = 764;
  std::int32_t KeyMarginRight = 2815;
  std::array<std::int32_t, 10> KeyBounds{1589, 1659, 1736, 1813, 1891,
                                         1968, 2044, 2125, 2203, 2278};
};

struct KeyCalibration {
  PointF KeyPointLeftTop;
  PointF KeyPointLeftBottom;
  PointF KeyPointRightMiddle;
  std::int32_t KeyCalibrationActive = 0;
  std::int32_t KeyCalibrationStep = 0;
};

struct ClientLink {
  WindowHandle ClientWindow = 0;
};

}  // namespace raz
