#include "board/interpolation.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/driver_state.h"

namespace raz {
namespace {

AxisFix Fix(std::int32_t p1, std::int32_t a1, std::int32_t a2, std::int32_t a3, std::int32_t a4) {
  AxisFix fix;
  fix.P1 = p1;
  fix.P2 = p1 + 1;
  fix.P3 = p1 + 2;
  fix.P4 = p1 + 3;
  fix.A1 = a1;
  fix.A2 = a2;
  fix.A3 = a3;
  fix.A4 = a4;
  fix.Spread = std::abs(a4 - a1);
  return fix;
}

// A falling fix whose touch position is exactly `raw` raw units with the initial spans:
// the spread adds raw % 10 tenths of a half-cell, and the shoulder is never flat.
AxisFix FixAt(std::int32_t raw) {
  const std::int32_t tenths = raw % 10;
  return Fix(raw / 10, 20 + 11 * tenths, 0, 100, 20);
}

std::unique_ptr<DriverState> Sample(std::int32_t status, const AxisFix& x, const AxisFix& y,
                                    std::int32_t levelX = 200, std::int32_t levelY = 200) {
  auto state = std::make_unique<DriverState>();
  state->sample.PenStatus = status;
  state->sample.LevelX = levelX;
  state->sample.LevelY = levelY;
  state->decoder.FixX = x;
  state->decoder.FixY = y;
  state->calibration.CalibrationScaleX = 1.0f;
  state->calibration.CalibrationScaleY = 1.0f;
  return state;
}

void Calibrating(DriverState& state) { state.tour.CalibrationActive = 1; }

const AxisFix kRising = Fix(100, 40, 90, 60, 140);
const AxisFix kFalling = Fix(100, 140, 60, 90, 40);

TEST(RoundSample, MoreThanHalfRoundsUpAndNegativesTruncate) {
  const struct {
    long double value;
    std::int32_t rounded;
  } rows[] = {
      {12.5L, 12}, {12.51L, 13}, {12.4999L, 12},    {-3.7L, -3},         {-0.5L, 0},
      {0.0L, 0},   {0.51L, 1},   {1425.909L, 1426}, {3e10L, 2147483647}, {-3e10L, -2147483647 - 1}};
  for (const auto& row : rows) {
    EXPECT_EQ(RoundSample(row.value), row.rounded) << static_cast<double>(row.value);
  }
}

TEST(Interpolation, TouchPositionMovesAgainstTheRisingSide) {
  const struct {
    AxisFix fix;
    std::int32_t raw;
    float value;
    std::int32_t rounded;
  } rows[] = {
      {kRising, 990, 990.909090f, 991},
      {kFalling, 1009, 1009.090909f, 1009},
      {Fix(143, 93, 54, 40, 138), 1425, 1425.909090f, 1426},
  };
  for (const auto& row : rows) {
    auto state = Sample(PenStatusCode::Touch, row.fix, row.fix);
    Calibrating(*state);
    InterpolatePosition(*state);
    EXPECT_EQ(state->interpolation.RawBoardX, row.raw) << row.raw;
    EXPECT_FLOAT_EQ(state->interpolation.CalibrationSampleX, row.value) << row.raw;
    EXPECT_FLOAT_EQ(state->interpolation.CalibrationSampleY, row.value) << row.raw;
    EXPECT_EQ(state->sample.X, row.rounded) << row.raw;
    EXPECT_EQ(state->sample.Y, row.rounded) << row.raw;
  }
}

TEST(Interpolation, SpanIsLearnedFromAFlatShoulderAndALargeSpread) {
  const struct {
    const char* name;
    AxisFix fix;
    bool xAxis;
    std::int32_t tracking;
    std::size_t index;
    std::int32_t span;
  } rows[] = {
      {"rising, flat", Fix(100, 60, 63, 0, 140), true, 1, 0, 80},
      {"rising, shoulder 5", Fix(100, 60, 65, 0, 140), true, 1, 0, 110},
      {"rising, shoulder -4", Fix(100, 60, 56, 0, 140), true, 1, 0, 80},
      {"rising, spread 50", Fix(100, 60, 63, 0, 110), true, 1, 0, 110},
      {"rising, spread 51", Fix(100, 60, 63, 0, 111), true, 1, 0, 51},
      {"falling, flat", Fix(100, 140, 0, 64, 60), true, 1, 1, 80},
      {"falling, shoulder 5", Fix(100, 140, 0, 65, 60), true, 1, 1, 110},
      {"Y rising", Fix(100, 60, 63, 0, 140), false, 1, 2, 80},
      {"Y falling", Fix(100, 140, 0, 64, 60), false, 1, 3, 80},
      {"not tracking", Fix(100, 60, 63, 0, 140), true, 0, 0, 110},
  };
  for (const auto& row : rows) {
    const AxisFix neutral = Fix(100, 40, 90, 60, 60);
    auto state = row.xAxis ? Sample(PenStatusCode::Touch, row.fix, neutral)
                           : Sample(PenStatusCode::Touch, neutral, row.fix);
    state->interpolation.SpanTracking = row.tracking;
    Calibrating(*state);
    InterpolatePosition(*state);
    EXPECT_EQ(state->interpolation.InterpolationSpan[row.index], row.span) << row.name;
    for (std::size_t other = 0; other < 4; ++other) {
      if (other != row.index) {
        EXPECT_EQ(state->interpolation.InterpolationSpan[other], 110) << row.name << " " << other;
      }
    }
  }
}

TEST(Interpolation, LearnedSpanAppliesToTheSampleItWasLearnedFrom) {
  auto state = Sample(PenStatusCode::Touch, Fix(100, 60, 63, 0, 140), kRising);
  Calibrating(*state);
  InterpolatePosition(*state);
  EXPECT_EQ(state->interpolation.RawBoardX, 990);  // 1000 - 80 * 10 / 80
}

TEST(Interpolation, HoverSpanDependsOnTheXLevel) {
  const struct {
    std::int32_t levelX;
    std::int32_t span;
  } rows[] = {{31, 100}, {90, 100}, {91, 90}, {180, 90}, {181, 100}, {255, 100}};
  for (const auto& row : rows) {
    auto state = Sample(PenStatusCode::Hover, kRising, kRising, row.levelX);
    InterpolatePosition(*state);
    EXPECT_EQ(state->interpolation.HoverSpanX, row.span) << "LevelX " << row.levelX;
    EXPECT_EQ(state->interpolation.HoverSpanY, row.span) << "LevelX " << row.levelX;
    // 1000 - 1000 / span, never a learned span.
    EXPECT_EQ(state->interpolation.RawBoardX, row.span == 90 ? 988 : 990) << row.levelX;
  }
}

TEST(Interpolation, HoverUsesTheScaleDirectly) {
  auto state = Sample(PenStatusCode::Hover, Fix(100, 40, 0, 0, 85), Fix(50, 85, 0, 0, 40));
  state->calibration.CalibrationScaleX = 2.0f;
  state->calibration.CalibrationScaleY = 3.0f;
  state->interpolation.RawBoardY = 1234;
  InterpolatePosition(*state);
  EXPECT_FLOAT_EQ(state->interpolation.CalibrationSampleX, 200.0f - 0.9f);
  EXPECT_FLOAT_EQ(state->interpolation.CalibrationSampleY, 150.0f + 1.35f);
  EXPECT_EQ(state->interpolation.RawBoardX, 995);
  EXPECT_EQ(state->interpolation.RawBoardY, 1234);
  for (std::size_t span = 0; span < 4; ++span) {
    EXPECT_EQ(state->interpolation.InterpolationSpan[span], 110);
  }
}

TEST(Interpolation, NegativeHoverXIsClampedAndNegativeHoverYTruncated) {
  // P1 = -1 on both axes; the falling Y side adds 63 * 10 / 100 = 6.3.
  auto state = Sample(PenStatusCode::Hover, Fix(-1, 40, 0, 0, 60), Fix(-1, 63, 0, 0, 0));
  InterpolatePosition(*state);
  EXPECT_EQ(state->interpolation.CalibrationSampleX, 0.0f);

  Calibrating(*state);
  state->interpolation.CalibrationSampleX = -12.0f;
  InterpolatePosition(*state);
  EXPECT_FLOAT_EQ(state->interpolation.CalibrationSampleY, -3.7f);
  EXPECT_EQ(state->sample.Y, -3);
  // While calibrating X is not recomputed; the old value is clamped and rounded again.
  EXPECT_EQ(state->interpolation.CalibrationSampleX, 0.0f);
  EXPECT_EQ(state->sample.X, 0);
}

TEST(Interpolation, KeyMarginIncludesItsOwnLimits) {
  const struct {
    std::int32_t rawX;
    std::uint8_t inMargin;
  } rows[] = {{763, 1}, {764, 0}, {765, 0}, {2814, 0}, {2815, 0}, {2816, 1}, {0, 1}};
  for (const auto& row : rows) {
    for (bool calibrating : {false, true}) {
      auto state = Sample(PenStatusCode::Touch, FixAt(row.rawX), FixAt(1700));
      if (calibrating) Calibrating(*state);
      InterpolatePosition(*state);
      ASSERT_EQ(state->interpolation.RawBoardX, row.rawX) << row.rawX;
      EXPECT_EQ(state->interpolation.InKeyMargin, row.inMargin)
          << row.rawX << (calibrating ? " calibrating" : "");
    }
  }
}

TEST(Interpolation, KeyZonesExcludeTheirBoundaries) {
  const struct {
    std::int32_t rawY;
    std::array<std::int32_t, 3> zones;
  } rows[] = {
      {1588, {0, 0, 0}}, {1589, {0, 0, 0}}, {1590, {1, 0, 0}}, {1658, {1, 0, 0}},
      {1659, {0, 0, 0}}, {1660, {0, 1, 0}}, {1736, {0, 0, 0}}, {1737, {0, 0, 1}},
      {1812, {0, 0, 1}}, {1813, {0, 0, 0}}, {1814, {0, 0, 0}},
  };
  for (const auto& row : rows) {
    auto state = Sample(PenStatusCode::Touch, FixAt(500), FixAt(row.rawY));
    state->interpolation.KeyZoneHit = {1, 1, 1};
    InterpolatePosition(*state);
    ASSERT_EQ(state->interpolation.RawBoardY, row.rawY);
    EXPECT_EQ(state->interpolation.KeyZoneHit, row.zones) << "RawBoardY " << row.rawY;
  }
}

TEST(Interpolation, CalibratingTouchKeepsRawYAndZones) {
  auto state = Sample(PenStatusCode::Touch, FixAt(500), FixAt(1600));
  state->interpolation.RawBoardY = 42;
  state->interpolation.KeyZoneHit = {0, 0, 1};
  Calibrating(*state);
  InterpolatePosition(*state);
  EXPECT_EQ(state->interpolation.RawBoardY, 42);
  EXPECT_EQ(state->interpolation.KeyZoneHit, (std::array<std::int32_t, 3>{0, 0, 1}));
  EXPECT_FLOAT_EQ(state->interpolation.CalibrationSampleY, 1600.0f);
}

TEST(Interpolation, KeyCalibrationAlsoCountsAsCalibrating) {
  auto state = Sample(PenStatusCode::Touch, kRising, kRising);
  state->keyCalibration.KeyCalibrationActive = 1;
  InterpolatePosition(*state);
  EXPECT_FLOAT_EQ(state->interpolation.CalibrationSampleX, 990.909090f);
  EXPECT_EQ(state->sample.X, 991);
}

TEST(Interpolation, TouchOutsideCalibrationScalesTheTruncatedRawPosition) {
  auto state = Sample(PenStatusCode::Touch, kRising, kFalling);
  state->calibration.CalibrationScaleX = 0.5f;
  state->calibration.CalibrationScaleY = 0.25f;
  InterpolatePosition(*state);
  EXPECT_EQ(state->interpolation.RawBoardX, 990);
  EXPECT_EQ(state->interpolation.RawBoardY, 1009);
  EXPECT_FLOAT_EQ(state->interpolation.CalibrationSampleX, 49.5f);
  EXPECT_FLOAT_EQ(state->interpolation.CalibrationSampleY, 25.225f);
}

TEST(Interpolation, StrongXWithWeakYTouchPutsYAtThree) {
  const struct {
    std::int32_t status;
    std::int32_t levelX;
    std::int32_t levelY;
    bool yIsThree;
  } rows[] = {
      {PenStatusCode::Touch, 91, 49, true},  {PenStatusCode::Touch, 90, 49, false},
      {PenStatusCode::Touch, 91, 50, false}, {PenStatusCode::Touch, 255, 31, true},
      {PenStatusCode::Hover, 91, 49, false},
  };
  for (const auto& row : rows) {
    auto state = Sample(row.status, kRising, kRising, row.levelX, row.levelY);
    Calibrating(*state);
    InterpolatePosition(*state);
    EXPECT_EQ(state->sample.Y == 3, row.yIsThree)
        << "status " << row.status << " LevelX " << row.levelX << " LevelY " << row.levelY;
  }
}

TEST(Interpolation, WeakSignalChangesNothing) {
  auto state = Sample(PenStatusCode::Touch, Fix(100, 60, 63, 0, 140), kRising, 200, 30);
  state->sample.X = 7;
  state->sample.Y = 8;
  state->interpolation.RawBoardX = 9;
  state->interpolation.CalibrationSampleX = 10.0f;
  Calibrating(*state);
  InterpolatePosition(*state);
  EXPECT_EQ(state->sample.X, 7);
  EXPECT_EQ(state->sample.Y, 8);
  EXPECT_EQ(state->interpolation.RawBoardX, 9);
  EXPECT_EQ(state->interpolation.CalibrationSampleX, 10.0f);
  EXPECT_EQ(state->interpolation.InterpolationSpan[0], 110);
}

TEST(Interpolation, OtherStatusesKeepThePreviousPosition) {
  const struct {
    std::int32_t status;
    std::int32_t levelX;
  } rows[] = {{PenStatusCode::NoPen, 200},
              {PenStatusCode::RightButton, 200},
              {PenStatusCode::Hover, 30},
              {0x12, 200}};
  for (const auto& row : rows) {
    auto state = Sample(row.status, kRising, kRising, row.levelX, 40);
    state->sample.X = 7;
    state->sample.Y = 8;
    state->interpolation.RawBoardX = 9;
    Calibrating(*state);
    InterpolatePosition(*state);
    EXPECT_EQ(state->sample.X, 7) << "status " << row.status;
    EXPECT_EQ(state->sample.Y, 8) << "status " << row.status;
    EXPECT_EQ(state->interpolation.RawBoardX, 9) << "status " << row.status;
  }
}

}  // namespace
}  // namespace raz
