#include "sim/board_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace raz::sim {

TEST(BoardModel, PenAt71Point3GivesTheWorkedExampleRowOnBothAxes) {
  const SensorRow expected{6,  40, 4, 11,  10, 3,  54, 6, 8,   93, 3,
                           28, 13, 6, 218, 6,  16, 21, 5, 138, 7};
  EXPECT_EQ(AxisLevels(71.30, 223.0), expected);
  const PlainReport report = BoardModel().Report({PenContact::Touch, {71.30, 71.30}, 1.0}, 0);
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), report.begin() + 2));
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), report.begin() + 23));
  EXPECT_EQ(AxisLevels(71.30, 600.0)[14], 255) << "levels clamp to a byte";
}

TEST(BoardModel, PeakAndStatusFollowTheContactPressureAndBoardKind) {
  const BoardModel model({.touchPeak = 200.0, .hoverPeak = 120.0, .nearPeak = 50.0});
  const auto peak = [&](PenContact contact, double pressure) {
    return model.PeakFor({contact, {70.0, 70.0}, pressure});
  };
  EXPECT_EQ(std::tuple(peak(PenContact::Touch, 0.5), peak(PenContact::RightButton, 1.0),
                       peak(PenContact::Hover, 1.0), peak(PenContact::Near, 1.0),
                       peak(PenContact::Away, 1.0), peak(PenContact::Touch, -1.0)),
            std::tuple(100.0, 200.0, 120.0, 50.0, 0.0, 0.0));
  // A board that cannot say hover sends "no pen" instead.
  const StatusEncoding typeOne{BoardKind::TypeOne, 0, 0};
  const StatusBytes bytes = BoardModel({.status = typeOne}).StatusFor({PenContact::Hover, {}, 1.0});
  EXPECT_EQ(StatusFromCode(bytes.status, bytes.penCode, typeOne), PenStatus::NoPen);
}

TEST(BoardModel, NoiseIsRepeatablePerSeedAndReportWithTheConfiguredSpread) {
  const BoardModel noisy({.noiseSigma = 2.0, .noiseSeed = 9});
  const PenState pen{PenContact::Touch, {40.2, 90.7}, 1.0};
  EXPECT_EQ(noisy.Report(pen, 5), noisy.Report(pen, 5));
  EXPECT_NE(noisy.Report(pen, 5), noisy.Report(pen, 6));
  EXPECT_NE(noisy.Report(pen, 5), BoardModel({.noiseSigma = 2.0, .noiseSeed = 8}).Report(pen, 5));
  double squares = 0.0;  // sensor 15 at 71.3, clear of 0 and 255 so that clamping does not bend it
  for (std::uint64_t report = 0; report < 3000; ++report) {
    const double off = noisy.Levels(Axis::X, 71.3, 150.0, report)[14] - AxisLevels(71.3, 150.0)[14];
    squares += off * off;
  }
  // Rounding to whole levels, of the noise and of the noise-free level, adds at most a third of
  // a level squared to the variance.
  EXPECT_NEAR(std::sqrt(squares / 3000), 2.05, 0.15);
}

}  // namespace raz::sim
