#include "sim/board_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "board/cell_table.h"

namespace raz::sim {
namespace {

int StrongestSensor(const SensorRow& row) {
  // Ties go to the higher sensor number, as the decoder ranks them.
  int best = 0;
  for (int i = 0; i < kSensorsPerRow; ++i) {
    if (row[static_cast<std::size_t>(i)] >= row[static_cast<std::size_t>(best)]) best = i;
  }
  return best + 1;
}

TEST(AxisLevels, PenAt71Point3GivesTheWorkedExampleRow) {
  const SensorRow expected{6,  40, 4, 11,  10, 3,  54, 6, 8,   93, 3,
                           28, 13, 6, 218, 6,  16, 21, 5, 138, 7};
  EXPECT_EQ(AxisLevels(71.30, 223.0), expected);
}

TEST(BoardModel, ReportCarriesTheWorkedExampleRowOnBothAxes) {
  const BoardModel model;
  const PenState pen{PenContact::Touch, {71.30, 71.30}, 1.0};
  const PlainReport report = model.Report(pen, 0);
  const SensorRow expected{6,  40, 4, 11,  10, 3,  54, 6, 8,   93, 3,
                           28, 13, 6, 218, 6,  16, 21, 5, 138, 7};
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), report.begin() + 2));
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), report.begin() + 23));
}

TEST(AxisLevels, PenOnACellCentreIsStrongestOnThatCellsSensor) {
  for (int cell = 1; cell <= kCellsPerAxis; ++cell) {
    const SensorRow row = AxisLevels(cell - 0.5, 223.0);
    EXPECT_EQ(StrongestSensor(row), CellSensorTable[static_cast<std::size_t>(cell)])
        << "cell " << cell;
  }
}

TEST(AxisLevels, LevelsClampToAByte) {
  const SensorRow row = AxisLevels(71.30, 600.0);
  EXPECT_EQ(row[14], 255);  // sensor 15, the cell under the pen
  EXPECT_EQ(AxisLevels(71.30, 0.0), SensorRow{});
}

TEST(BoardModel, PeakFollowsContactAndPressure) {
  const BoardModel model({.touchPeak = 200.0, .hoverPeak = 120.0, .nearPeak = 50.0});
  struct Row {
    PenContact contact;
    double pressure;
    double peak;
  };
  const Row rows[] = {
      {PenContact::Touch, 1.0, 200.0},       {PenContact::Touch, 0.5, 100.0},
      {PenContact::RightButton, 1.0, 200.0}, {PenContact::Hover, 1.0, 120.0},
      {PenContact::Near, 1.0, 50.0},         {PenContact::Away, 1.0, 0.0},
      {PenContact::Touch, -1.0, 0.0},
  };
  for (const Row& row : rows) {
    EXPECT_DOUBLE_EQ(model.PeakFor({row.contact, {70.0, 70.0}, row.pressure}), row.peak)
        << "contact " << static_cast<int>(row.contact) << " pressure " << row.pressure;
  }
}

TEST(BoardModel, NoPenWithoutNoiseSendsEmptyRows) {
  const BoardModel model;
  const PlainReport report = model.Report(PenState{}, 7);
  EXPECT_TRUE(std::all_of(report.begin() + 2, report.begin() + 44, [](auto b) { return b == 0; }));
}

TEST(BoardModel, NoiseIsRepeatableForTheSameSeedAndReport) {
  const BoardModel model({.noiseSigma = 3.0, .noiseSeed = 42});
  const BoardModel other({.noiseSigma = 3.0, .noiseSeed = 43});
  const PenState pen{PenContact::Touch, {40.2, 90.7}, 1.0};
  EXPECT_EQ(model.Report(pen, 5), model.Report(pen, 5));
  EXPECT_NE(model.Report(pen, 5), model.Report(pen, 6));
  EXPECT_NE(model.Report(pen, 5), other.Report(pen, 5));
}

TEST(BoardModel, NoiseHasTheConfiguredSpreadAndNoBias) {
  constexpr double kSigma = 2.0;
  constexpr int kReports = 3000;
  const BoardModel noisy({.noiseSigma = kSigma, .noiseSeed = 9});
  // A peak that keeps the sensors checked clear of 0 and 255, so clamping does not bend them.
  const double peak = 150.0;
  const SensorRow clean = AxisLevels(60.3, peak);
  std::array<double, kSensorsPerRow> sum{};
  std::array<double, kSensorsPerRow> sumSquares{};
  for (std::uint64_t report = 0; report < kReports; ++report) {
    const SensorRow row = noisy.Levels(Axis::X, 60.3, peak, report);
    for (std::size_t s = 0; s < row.size(); ++s) {
      sum[s] += row[s];
      sumSquares[s] += static_cast<double>(row[s]) * row[s];
    }
  }
  int checked = 0;
  for (std::size_t s = 0; s < clean.size(); ++s) {
    if (clean[s] < 10) continue;
    ++checked;
    const double mean = sum[s] / kReports;
    const double spread = std::sqrt(sumSquares[s] / kReports - mean * mean);
    // The noise-free level is itself rounded, so the mean may sit up to half a level off it.
    EXPECT_NEAR(mean, clean[s], 0.6) << "sensor " << s + 1;
    // Rounding to whole levels adds about 1/12 to the variance.
    EXPECT_NEAR(spread, std::sqrt(kSigma * kSigma + 1.0 / 12.0), 0.15) << "sensor " << s + 1;
  }
  EXPECT_GE(checked, 5);
}

TEST(BoardModel, NoiseOnAnAbsentPenStaysNearZero) {
  const BoardModel model({.noiseSigma = 1.0, .noiseSeed = 3});
  int largest = 0;
  for (std::uint64_t report = 0; report < 500; ++report) {
    const PlainReport bytes = model.Report(PenState{}, report);
    largest = std::max<int>(largest, *std::max_element(bytes.begin() + 2, bytes.begin() + 44));
  }
  EXPECT_GT(largest, 0);
  EXPECT_LE(largest, 6);
}

}  // namespace
}  // namespace raz::sim
