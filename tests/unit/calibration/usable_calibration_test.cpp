#include "calibration/usable_calibration.h"

#include <gtest/gtest.h>

#include <cmath>

#include "board/interpolation.h"
#include "calibration/transform.h"
#include "storage/data_files.h"

namespace raz {
namespace {

using Cal = CalibrationRecord;
using Points = std::array<PointF, kCalibrationPointCount>;

// clang-format off
// A calibration as a tour on a 1024 x 768 screen leaves it, slightly distorted.
constexpr Cal kMeasured{{{{57.1f, 724.8f}, {515.6f, 731.5f}, {970.2f, 716.4f},
                          {62.6f, 387.4f}, {519.2f, 383.9f}, {977.7f, 390.3f},
                          {61.3f, 52.7f},  {511.9f, 48.2f},  {966.4f, 55.8f}}},
                        1.155f, 1.083f, 11, 2, 7, 40};
// clang-format on

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

// The start-up's path: the file's bytes decoded and applied for a 1024 x 768 screen.
CalibrationState Startup(const std::vector<std::uint8_t>& file) {
  CalibrationState c;
  ApplyStoredCalibration(c, DecodeCalibrationRecord(file), 1024, 768);
  return c;
}

auto Encoded(const Cal& c) { return EncodeCalibrationRecord(c, {110, 110, 110, 110}); }

TEST(UsableCalibration, Startup_ADegenerateStoredCalibrationFallsBackToTheDefaultAndStaysAsItIs) {
  // clang-format off
  const std::pair<const char*, void (*)(Cal&, Points&)> spoilers[] = {
      {"all zero", [](Cal& c, Points&) { c = Cal{}; }},
      {"NaN scale", [](Cal& c, Points&) { c.CalibrationScaleX = std::nanf(""); }},
      {"infinite scale", [](Cal& c, Points&) { c.CalibrationScaleY = -HUGE_VALF; }},
      {"vanishing scale", [](Cal& c, Points&) { c.CalibrationScaleX = 1e-20f; }},
      {"NaN point", [](Cal&, Points& p) { p[3].y = std::nanf(""); }},
      {"huge point", [](Cal&, Points& p) { p[5].x = 3e38f; }},
      {"coincident points", [](Cal&, Points& p) { p.fill(PointF{500, 400}); }},
      {"mid point on the centre", [](Cal&, Points& p) { p[1] = p[4]; }},
      {"corner straight below the centre", [](Cal&, Points& p) { p[0].x = p[4].x; }},
      {"corner level with the centre", [](Cal&, Points& p) { p[8].y = p[4].y; }},
      {"corners 2 and 6 in one column", [](Cal&, Points& p) { p[2].x = p[6].x + 1.5f; }},
      {"corners 2 and 6 in one row", [](Cal&, Points& p) { p[2].y = p[6].y; }},
  };
  // clang-format on
  for (const auto& [name, spoil] : spoilers) {
    Cal stored = kMeasured;
    spoil(stored, stored.CalibrationPoints);
    const std::vector<std::uint8_t> bytes = Encoded(stored);
    CalibrationState s = Startup(bytes);
    EXPECT_TRUE(IsUsableModel(s.Model)) << name;
    // The pen follows the board, neither stuck on one pixel nor moved by the stored offsets.
    EXPECT_EQ(TouchAtRaw(s, 2940, 2940), std::make_pair(1023, 767)) << name;
    EXPECT_EQ(TouchAtRaw(s, 1000, 500), std::make_pair(348, 130)) << name;
    EXPECT_EQ(s.Stored.ReservedWord, stored.ReservedWord) << name << ": kept to save";
    EXPECT_EQ(s.Stored.ReservedLevel, stored.ReservedLevel) << name;
  }
}

TEST(UsableCalibration, Startup_AUsableStoredCalibrationIsKept) {
  const CalibrationState s = Startup(Encoded(kMeasured));
  EXPECT_EQ(s.Stored.CalibrationScaleX, 1.155f);
  EXPECT_EQ(s.Stored.CalibrationPoints[6].x, 61.3f);
  EXPECT_EQ(s.Stored.ScreenOffsetX, 11);
  EXPECT_EQ(s.DefaultForWidth, 0);
}

TEST(FollowScreenSize, TheDefaultCalibrationIsRemadeForANewResolutionButAUsersIsKept) {
  CalibrationState c;
  ApplyStoredCalibration(c, CalibrationRecord{}, 1024, 768);  // nothing usable stored
  EXPECT_FLOAT_EQ(c.Stored.CalibrationScaleX, 1023 * 10.0f / 2940);

  FollowScreenSize(c, 1920, 1080);
  EXPECT_FLOAT_EQ(c.Stored.CalibrationScaleX, 1919 * 10.0f / 2940);
  EXPECT_FLOAT_EQ(c.Stored.CalibrationScaleY, 1079 * 10.0f / 2940);
  EXPECT_EQ(c.Model.GridWidth, c.Stored.CalibrationPoints[2].x - c.Stored.CalibrationPoints[6].x);

  // A user's calibration, even one that happens to equal a default, as loaded from server.txt.
  ApplyStoredCalibration(c, DefaultCalibration(800, 600), 1920, 1080);
  FollowScreenSize(c, 1280, 1080);
  EXPECT_FLOAT_EQ(c.Stored.CalibrationScaleX, 799 * 10.0f / 2940);
}

}  // namespace
}  // namespace raz
