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
    result = InterpolatePosition(reading, {keys, scaleX, scaleY, calibrating}, interpolation);
    if (result.Change != PositionChange::New) return;
    position = result.Position;
    rawX = result.RawBoardX;
  }
  BoardReading reading;
  InterpolationState interpolation;
  KeyLayout keys;
  float scaleX = 1.0f;
  float scaleY = 1.0f;
  bool calibrating = false;
  BoardPoint position;  // the previous sample's, and its raw X
  std::int32_t rawX = 0;
  Interpolation result;
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

// X rises to the right, Y falls: the touch position moves against the rising side. While a
// calibration runs the raw float position is kept and raw Y is left alone; otherwise the
// truncated raw position is scaled to the screen.
TEST(Interpolation, TouchPositionMovesAgainstTheRisingSide) {
  const struct {
    bool calibrating;
    std::int32_t rawY;
    float sampleX, sampleY;
  } rows[] = {
      {true, 0, 990.909090f, 1009.090909f}, {false, 1009, 49.5f, 25.225f},  // raw x scale x 0.1
  };
  for (const auto& row : rows) {
    Rig rig = Sample(kTouch, kRising, kFalling, row.calibrating);
    rig.scaleX = 0.5f;
    rig.scaleY = 0.25f;
    rig.Run();
    const InterpolationState& out = rig.interpolation;
    const auto where = ::testing::Message() << "calibrating " << row.calibrating;
    EXPECT_EQ(rig.rawX, 990) << where;
    EXPECT_EQ(rig.result.Zones.value_or(KeyZones{}).RawBoardY, row.rawY) << where;
    EXPECT_FLOAT_EQ(out.CalibrationSampleX, row.sampleX) << where;
    EXPECT_FLOAT_EQ(out.CalibrationSampleY, row.sampleY) << where;
    if (row.rawY == 0) {
      EXPECT_EQ(rig.position, (BoardPoint{991, 1009})) << where;
    }
  }
}

TEST(Interpolation, SpanIsLearnedFromAFlatShoulderAndALargeSpreadAndUsedAtOnce) {
  const struct {
    const char* name;
    AxisFix fix;
    bool xAxis;
    bool tracking;
    std::int32_t index, span, rawX;
  } rows[] = {
      {"rising, flat", kLearnable, true, true, 0, 80, 990},
      {"rising, shoulder 5", Fix(100, 60, 65, 0, 140), true, true, 0, 110, 992},
      {"rising, shoulder -4", Fix(100, 60, 56, 0, 140), true, true, 0, 80, 990},
      {"rising, spread 50", Fix(100, 60, 63, 0, 110), true, true, 0, 110, 995},
      {"rising, spread 51", Fix(100, 60, 63, 0, 111), true, true, 0, 51, 990},
      {"falling, flat", Fix(100, 140, 0, 64, 60), true, true, 1, 80, 1010},
      {"falling, shoulder 5", Fix(100, 140, 0, 65, 60), true, true, 1, 110, 1007},
      {"Y rising", kLearnable, false, true, 2, 80, 998},
      {"Y falling", Fix(100, 140, 0, 64, 60), false, true, 3, 80, 998},
      {"not tracking", kLearnable, true, false, 0, 110, 992},
  };
  for (const auto& row : rows) {
    const AxisFix neutral = Fix(100, 40, 90, 60, 60);
    Rig rig =
        row.xAxis ? Sample(kTouch, row.fix, neutral, true) : Sample(kTouch, neutral, row.fix, true);
    rig.interpolation.SpanTracking = row.tracking;
    rig.Run();
    std::array<std::int32_t, 4> spans{110, 110, 110, 110};
    spans[static_cast<std::size_t>(row.index)] = row.span;
    EXPECT_EQ(rig.interpolation.InterpolationSpan, spans) << row.name;
    EXPECT_EQ(rig.rawX, row.rawX) << row.name;
  }
}

// Hover scales the cell position directly, without the cell size, and leaves raw Y alone.
TEST(Interpolation, HoverSpanDependsOnTheXLevelAndNeverOnALearnedSpan) {
  const struct {
    std::int32_t levelX, rawX;
    float sampleX, sampleY;  // span 100 or 90: 2 * (100 - 100 / span), 3 * (100 + 100 / span)
  } rows[] = {
      {31, 990, 198.0f, 303.0f},           {90, 990, 198.0f, 303.0f},
      {91, 988, 197.777777f, 303.333333f}, {180, 988, 197.777777f, 303.333333f},
      {181, 990, 198.0f, 303.0f},
  };
  for (const auto& row : rows) {
    Rig rig = Sample(kHover, kRising, kFalling, false, row.levelX);
    rig.scaleX = 2.0f;
    rig.scaleY = 3.0f;
    rig.interpolation.InterpolationSpan = {50, 50, 50, 50};
    rig.Run();
    const InterpolationState& out = rig.interpolation;
    EXPECT_EQ(rig.rawX, row.rawX) << "LevelX " << row.levelX;
    EXPECT_FALSE(rig.result.Zones) << "LevelX " << row.levelX;
    EXPECT_FLOAT_EQ(out.CalibrationSampleX, row.sampleX) << "LevelX " << row.levelX;
    EXPECT_FLOAT_EQ(out.CalibrationSampleY, row.sampleY) << "LevelX " << row.levelX;
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
      rig.Run();
      const KeyZones found = rig.result.Zones.value_or(KeyZones{0, {true, true, true}});
      std::array<bool, 3> zones{};
      if (row.zone > 0) zones[static_cast<std::size_t>(row.zone - 1)] = true;
      const std::string where = std::to_string(row.raw) + (calibrating ? " calibrating" : "");
      ASSERT_EQ(rig.rawX, row.raw) << where;
      EXPECT_EQ(rig.result.InKeyMargin, row.inMargin) << where;
      // Calibrating finds no raw Y and no zones.
      EXPECT_EQ(found.RawBoardY, calibrating ? 0 : row.raw) << where;
      EXPECT_EQ(found.KeyZoneHit, (calibrating ? std::array{true, true, true} : zones)) << where;
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
    rig.rawX = 9;
    rig.interpolation.CalibrationSampleX = 10.0f;
    rig.Run();
    EXPECT_EQ((std::array{rig.position.x, rig.position.y, rig.rawX,
                          rig.interpolation.InterpolationSpan[0]}),
              (std::array{row.x, row.y, row.rawX, row.span}))
        << "status " << static_cast<int>(row.status) << " LevelX " << row.levelX << " LevelY "
        << row.levelY;
  }
}

}  // namespace
}  // namespace raz
