#pragma once
// The stored screen calibration and the state of the nine-target tour.
#include <array>
#include <cstdint>

namespace raz {

struct PointF {
  float x = 0.0f;
  float y = 0.0f;
};

// Grid indices: bottom row 0 1 2, middle row 3 4 5, top row 6 7 8, left to right.
inline constexpr int kCalibrationPointCount = 9;

struct StoredCalibration {
  std::array<PointF, kCalibrationPointCount> CalibrationPoints{};
  float CalibrationScaleX = 0.0f;
  float CalibrationScaleY = 0.0f;
  std::int32_t ScreenOffsetX = 0;
  std::int32_t ScreenOffsetY = 0;
  // Not used by any computation: carried from the installed file into every later save.
  std::int32_t ReservedWord = 0;
  std::int32_t ReservedLevel = 0;
  // Not stored: the screen size a default calibration was made for, 0 x 0 while the user's
  // own calibration is in use.
  std::int32_t DefaultForWidth = 0;
  std::int32_t DefaultForHeight = 0;
};

struct CalibrationTour {
  std::int32_t CalibrationActive = 0;
  std::int32_t CalibrationTargetIndex = 0;
  std::array<float, kCalibrationPointCount> RawX{};
  std::array<float, kCalibrationPointCount> RawY{};
};

}  // namespace raz
