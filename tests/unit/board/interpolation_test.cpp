#include "board/interpolation.h"

#include <gtest/gtest.h>

#include "base/numeric.h"

namespace raz {
namespace {

AxisFix Fix(std::int32_t p1, std::int32_t a1, std::int32_t a2, std::int32_t a3, std::int32_t a4) {
  return {p1, p1 + 1, p1 + 2, p1 + 3, a1, a2, a3, a4, std::abs(a4 - a1)};
}

// A falling fix whose touch position is exactly `raw` raw units with the initial spans:
// the spread adds raw % 10 tenths of a half-cell, and the shoulder is never flat.
AxisFix FixAt(std::int32_t raw) { return Fix(raw / 10, 20 + 11 * (raw % 10), 0, 100, 20); }

constexpr PenStatus kTouch = PenStatus::Touch;
constexpr PenStatus kHover = PenStatus::Hover;

const AxisFix kRising = Fix(100, 40, 90, 60, 140);
const AxisFix kFalling = Fix(100, 140, 60, 90, 40);
const AxisFix kLearnable = Fix(100, 60, 63, 0, 140);  // rising with a flat shoulder

// One reading through the interpolation; the position moves as a poll tick moves it.
struct Rig {
  void Run() {
    const Interpolation result =
        InterpolatePosition(reading, {keys, scaleX, scaleY, calibrating}, interpolation);
    if (result.Change == PositionChange::New) position = result.Position;
  }
  BoardReading reading;
  InterpolationState interpolation;
  KeyLayout keys;
  float scaleX = 1.0f;
  float scaleY = 1.0f;
  bool calibrating = false;
  BoardPoint position;  // the previous sample's
};

Rig Sample(PenStatus status, const AxisFix& x, const AxisFix& y, bool calibrating,
           std::int32_t levelX = 200, std::int32_t levelY = 200) {
  Rig rig;
  rig.reading = {.Status = status, .LevelX = levelX, .LevelY = levelY, .FixX = x, .FixY = y};
  rig.calibrating = calibrating;
  return rig;
}

TEST(RoundSample, MoreThanHalfRoundsUpAndNegativesTruncate) {
  const struct {
    long double value;
    std::int32_t rounded;
  } rows[] = {{12.5L, 12}, {12.51L, 13}, {-3.7L, -3}, {3e10L, INT32_MAX}, {-3e10L, INT32_MIN}};
  for (const auto& row : rows) {
    EXPECT_EQ(RoundSample(row.value), row.rounded) << static_cast<double>(row.value);
  }
}

TEST(Interpolation, NegativeHoverXIsClampedAndNegativeHoverYTruncated) {
  // P1 = -1 on both axes; the falling Y side adds 63 * 10 / 100 = 6.3.
  Rig rig = Sample(kHover, Fix(-1, 40, 0, 0, 60), Fix(-1, 63, 0, 0, 0), false);
  rig.Run();
  EXPECT_EQ(rig.interpolation.CalibrationSampleX, 0.0f);
  rig.calibrating = true;
  rig.interpolation.CalibrationSampleX = -12.0f;
  rig.Run();
  EXPECT_FLOAT_EQ(rig.interpolation.CalibrationSampleY, -3.7f);
  EXPECT_EQ(rig.position.y, -3);
  // While calibrating X is not recomputed; the old value is clamped and rounded again.
  EXPECT_EQ(rig.interpolation.CalibrationSampleX, 0.0f);
  EXPECT_EQ(rig.position.x, 0);
}

// The pen at (raw, raw): the margin limits 764 and 2815 are inside the active area, the key
// band boundaries 1589, 1659, 1736 and 1813 belong to no band.
TEST(Interpolation, KeyMarginIncludesItsLimitsAndKeyZonesExcludeTheirBoundaries) {
  const struct {
    std::int32_t raw;
    bool inMargin;
    int zone;  // 1..3, 0 for none
  } rows[] = {
      {0, true, 0},     {763, true, 0},   {764, false, 0},  {1589, false, 0}, {1590, false, 1},
      {1658, false, 1}, {1659, false, 0}, {1660, false, 2}, {1736, false, 0}, {1737, false, 3},
      {1812, false, 3}, {1813, false, 0}, {2815, false, 0}, {2816, true, 0},
  };
  for (const auto& row : rows) {
    for (bool calibrating : {false, true}) {
      Rig rig = Sample(kTouch, FixAt(row.raw), FixAt(row.raw), calibrating);
      rig.interpolation.KeyZoneHit = {true, true, true};
      rig.Run();
      const InterpolationState& out = rig.interpolation;
      std::array<bool, 3> zones{};
      if (row.zone > 0) zones[static_cast<std::size_t>(row.zone - 1)] = true;
      const std::string where = std::to_string(row.raw) + (calibrating ? " calibrating" : "");
      ASSERT_EQ(out.RawBoardX, row.raw) << where;
      EXPECT_EQ(out.InKeyMargin, row.inMargin) << where;
      // Calibrating leaves raw Y and the zones alone.
      EXPECT_EQ(out.RawBoardY, calibrating ? 0 : row.raw) << where;
      EXPECT_EQ(out.KeyZoneHit, (calibrating ? std::array{true, true, true} : zones)) << where;
    }
  }
}

// From a previous sample at (7, 8) with raw X 9: LevelY 30 stops everything, other statuses
// (no pen 0x00, right button 0x5F, unknown 0x12) and a hover without X signal keep the position,
// and a strong X with a weak Y touch puts Y at 3. While calibrating, hover X is the old float value
// rounded again, so the last row shows that Y = 3 is for touch samples only.
TEST(Interpolation, FinalStepsKeepOrMoveThePreviousPosition) {
  const struct {
    PenStatus status;
    std::int32_t levelX, levelY, x, y, rawX, span;
  } rows[] = {
      {kTouch, 200, 30, 7, 8, 9, 110},
      {PenStatus::NoPen, 200, 40, 7, 8, 9, 110},
      {PenStatus::RightButton, 200, 40, 7, 8, 9, 110},
      {kHover, 30, 40, 7, 8, 9, 110},
      {static_cast<PenStatus>(0x12), 200, 40, 7, 8, 9, 110},
      {kTouch, 91, 49, 990, 3, 990, 80},
      {kTouch, 255, 31, 990, 3, 990, 80},
      {kTouch, 90, 49, 990, 991, 990, 80},
      {kTouch, 91, 50, 990, 991, 990, 80},
      {kHover, 91, 49, 10, 989, 991, 110},
  };
  for (const auto& row : rows) {
    Rig rig = Sample(row.status, kLearnable, kRising, true, row.levelX, row.levelY);
    rig.position = {7, 8};
    rig.interpolation.RawBoardX = 9;
    rig.interpolation.CalibrationSampleX = 10.0f;
    rig.Run();
    EXPECT_EQ((std::array{rig.position.x, rig.position.y, rig.interpolation.RawBoardX,
                          rig.interpolation.InterpolationSpan[0]}),
              (std::array{row.x, row.y, row.rawX, row.span}))
        << "status " << static_cast<int>(row.status) << " LevelX " << row.levelX << " LevelY "
        << row.levelY;
  }
}

}  // namespace
}  // namespace raz
