#include "calibration/usable_calibration.h"

#include <gtest/gtest.h>

#include <cmath>

#include "board/interpolation.h"
#include "calibration/transform.h"
#include "storage/data_files.h"

namespace raz {
namespace {



// Puts a touch at a raw board position through the interpolation and the transform.
std::pair<int, int> TouchAtRaw(CalibrationState& c, int rawX, int rawY) {
  const BoardReading reading{.Status = PenStatus::Touch,
                             .LevelX = 100,
                             .LevelY = 100,
                             .FixX = AxisFix{.P1 = rawX / 10},
                             .FixY = AxisFix{.P1 = rawY / 10}};
  InterpolationState interpolation;
  const KeyLayout keys;
  const Interpolation at = InterpolatePosition(
      reading, {keys, c.Stored.CalibrationScaleX, c.Stored.CalibrationScaleY, false},
      interpolation);
  const ScreenPoint p =
      MapToScreen(at.Position, c.Model, c.Stored.ScreenOffsetX, c.Stored.ScreenOffsetY);
  return {p.x, p.y};
}

TEST(UsableCalibration, DefaultMapsTheCodedAreaOntoTheWholeScreen) {
  // {width, height, width and height used}: a display without a usable size gets 1024 x 768.
  // clang-format off
  const int sizes[][4] = {{1024, 768, 1024, 768}, {1920, 1080, 1920, 1080}, {1023, 767, 1023, 767},
                          {3840, 2160, 3840, 2160}, {3, 3, 3, 3}, {0, 0, 1024, 768},
                          {2, 600, 1024, 768}};
  // clang-format on
  for (const auto& [w, h, usedW, usedH] : sizes) {
    SCOPED_TRACE(testing::Message() << w << " x " << h);
    CalibrationState c;
    c.Stored = DefaultCalibration(w, h);
    ASSERT_TRUE(IsUsableCalibration(c.Stored));
    BuildCalibrationModel(c.Model, c.Stored.CalibrationPoints);
    const std::int32_t far = kCodedAreaRawSpan;
    EXPECT_EQ(TouchAtRaw(c, 0, 0), std::make_pair(0, 0));
    EXPECT_EQ(TouchAtRaw(c, far, 0), std::make_pair(usedW - 1, 0));
    EXPECT_EQ(TouchAtRaw(c, 0, far), std::make_pair(0, usedH - 1));
    EXPECT_EQ(TouchAtRaw(c, far, far), std::make_pair(usedW - 1, usedH - 1));
    for (std::int32_t raw = 0; raw <= far; raw += 10) {  // linear along the top edge
      EXPECT_NEAR(TouchAtRaw(c, raw, 0).first, raw * (usedW - 1.0) / far, 1.0) << raw;
    }
  }
}

}  // namespace
}  // namespace raz
