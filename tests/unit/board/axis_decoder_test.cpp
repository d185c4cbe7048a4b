#include "board/axis_decoder.h"

#include <gtest/gtest.h>

#include <vector>

namespace raz {
namespace {

// A ranked X row with the given levels for sensors 1..21.
AxisWork RankedRow(const std::vector<int>& levels) {
  ReportSlots store{};
  for (std::size_t i = 0; i < levels.size(); ++i) {
    store[kFirstXSlot + i] = levels[i];
  }
  AxisWork work;
  RankRow(store, kFirstXSlot, work);
  return work;
}

std::vector<int> Levels(std::initializer_list<std::pair<int, int>> sensorLevels, int rest = 0) {
  std::vector<int> levels(21, rest);
  for (const auto& [sensor, level] : sensorLevels)
    levels[static_cast<std::size_t>(sensor - 1)] = level;
  return levels;
}

const std::vector<int> kWorkedExample{6,  40, 4, 11,  10, 3,  54, 6, 8,   93, 3,
                                      28, 13, 6, 218, 6,  16, 21, 5, 138, 7};

TEST(AxisDecoder, WorkedExampleRanksAndPlacesTheRow) {
  AxisWork work = RankedRow(kWorkedExample);
  EXPECT_EQ(work.Top, (TopSensors{15, 20, 10, 7, 2}));
  EXPECT_EQ(work.Anchor, 10);
  AxisFix fix;
  EXPECT_TRUE(PlaceRow(Axis::X, work, fix));
  EXPECT_EQ(work.Block, 4);
  EXPECT_EQ(work.Cell, 73);
  EXPECT_EQ(fix.P1, 143);
  EXPECT_EQ(fix.P2, 144);
  EXPECT_EQ(fix.P3, 145);
  EXPECT_EQ(fix.P4, 146);
  EXPECT_EQ(fix.A1, 93);
  EXPECT_EQ(fix.A2, 54);
  EXPECT_EQ(fix.A3, 40);
  EXPECT_EQ(fix.A4, 138);
  EXPECT_EQ(fix.Spread, 45);
  EXPECT_EQ(StrongestLevel(work), 218);
}

TEST(AxisDecoder, EqualLevelsRankTheHigherSensorFirst) {
  const struct {
    std::vector<int> levels;
    TopSensors top;
    int anchor;
  } rows[] = {
      {Levels({{3, 100}, {8, 100}}), {8, 3, 21, 20, 19}, 19},
      {Levels({{4, 90}, {7, 90}, {1, 90}}), {7, 4, 1, 21, 20}, 7},
      {Levels({}), {21, 20, 19, 18, 17}, 19},
      {Levels({{2, 50}, {3, 50}}, 50), {21, 20, 19, 18, 17}, 19},
      {Levels({{21, 9}}, 10), {20, 19, 18, 17, 16}, 19},
  };
  for (const auto& row : rows) {
    const AxisWork work = RankedRow(row.levels);
    EXPECT_EQ(work.Top, row.top) << "T1 " << row.top[0];
    EXPECT_EQ(work.Anchor, row.anchor) << "T1 " << row.top[0];
  }
}

TEST(AxisDecoder, AnchorIsTheStrongestAnchorSensorHoweverFarDown) {
  // Fourteen non-anchor sensors above every anchor; anchor 13 is the best of the rest.
  std::vector<int> levels(21, 0);
  for (int sensor : {2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18, 20, 21}) levels[sensor - 1] = 200;
  levels[13 - 1] = 30;
  levels[1 - 1] = 29;
  EXPECT_EQ(RankedRow(levels).Anchor, 13);
}

TEST(AxisDecoder, DoublePeakNeedsBothStrongestAbove210) {
  const struct {
    int first;
    int second;
    std::int32_t doublePeak;
  } rows[] = {{211, 211, 1}, {255, 211, 1}, {211, 210, 0}, {255, 100, 0}, {210, 210, 0}};
  for (const auto& row : rows) {
    const AxisWork work = RankedRow(Levels({{10, row.first}, {11, row.second}}));
    EXPECT_EQ(DoublePeak(work), row.doublePeak) << row.first << "/" << row.second;
  }
}

TEST(AxisDecoder, EmptyRowIsOnlyAllZeroLevels) {
  EXPECT_TRUE(RowIsEmpty(RankedRow(Levels({}))));
  EXPECT_FALSE(RowIsEmpty(RankedRow(Levels({{21, 1}}))));
  EXPECT_FALSE(RowIsEmpty(RankedRow(Levels({{1, 1}}))));
}

TEST(AxisDecoder, LastBlockReadsPastItsEndAsSensorZero) {
  // Block 7, anchor 19: G = 145; cells 146, 147, 148 carry 20, 21 and no sensor.
  AxisWork work = RankedRow(Levels({{19, 200}, {20, 150}, {21, 100}, {18, 60}}, 5));
  AxisFix fix;
  ASSERT_TRUE(PlaceRow(Axis::X, work, fix));
  EXPECT_EQ(work.Block, 7);
  EXPECT_EQ(work.Cell, 145);
  // Window at 4: levels of cells 147, 144, 148, 145.
  EXPECT_EQ(fix.P1, 291);
  EXPECT_EQ(fix.A1, 100);
  EXPECT_EQ(fix.A2, 60);
  EXPECT_EQ(fix.A3, 0);
  EXPECT_EQ(fix.A4, 200);
  EXPECT_EQ(fix.Spread, 100);
}

TEST(AxisDecoder, FirstBlockReadsBeforeItsStartAsSensorZero) {
  // Block 1, anchor 1: G = 1; cells -2, -1 and 0 carry no sensor.
  AxisWork work = RankedRow(Levels({{1, 200}, {5, 150}}, 50));
  AxisFix fix;
  ASSERT_TRUE(PlaceRow(Axis::X, work, fix));
  EXPECT_EQ(work.Block, 1);
  EXPECT_EQ(work.Cell, 1);
  // S = (200, 0, 150, 0, 50, 0, 50, 200): window at 4.
  EXPECT_EQ(fix.P1, 3);
  EXPECT_EQ(fix.A1, 50);
  EXPECT_EQ(fix.A2, 0);
  EXPECT_EQ(fix.A3, 50);
  EXPECT_EQ(fix.A4, 200);
}

TEST(AxisDecoder, RowWithoutBlockIsFixedAroundCellTwentyOneMinusAnchor) {
  AxisWork work = RankedRow(Levels({{4, 200}, {1, 100}}));
  AxisFix fix;
  EXPECT_FALSE(PlaceRow(Axis::X, work, fix));
  EXPECT_EQ(work.Block, 0);
  EXPECT_EQ(work.Cell, 17);
  EXPECT_EQ(fix.P1, 35);
  EXPECT_EQ(fix.Spread, 0);
}

TEST(AxisDecoder, WindowStartFollowsTheLevelsBesideTheAnchor) {
  // Block 7, anchor 10 (G = 136): cells 133..139 carry sensors 7..13 in order, so the
  // sequence is (a10, a7, a11, a8, a12, a9, a13, a10).
  const struct {
    std::vector<int> levels;
    int p1;
    std::array<int, 4> amplitudes;
  } rows[] = {
      // a8 > a11: window at 0.
      {Levels({{10, 200}, {9, 180}, {8, 150}, {11, 100}, {7, 30}, {12, 20}, {13, 5}}),
       269,
       {200, 30, 100, 150}},
      // a8 <= a11 and a9 > a12: window at 2.
      {Levels({{10, 200}, {9, 180}, {11, 150}, {8, 100}, {12, 120}, {7, 30}, {13, 5}}),
       271,
       {150, 100, 120, 180}},
      // Neither: window at 4.
      {Levels({{10, 200}, {11, 180}, {12, 120}, {9, 100}, {8, 90}, {7, 30}, {13, 5}}),
       273,
       {120, 100, 5, 200}},
  };
  for (const auto& row : rows) {
    AxisWork work = RankedRow(row.levels);
    AxisFix fix;
    ASSERT_TRUE(PlaceRow(Axis::X, work, fix)) << "P1 " << row.p1;
    ASSERT_EQ(work.Cell, 136) << "P1 " << row.p1;
    EXPECT_EQ(fix.P1, row.p1);
    EXPECT_EQ((std::array<int, 4>{fix.A1, fix.A2, fix.A3, fix.A4}), row.amplitudes)
        << "P1 " << row.p1;
    EXPECT_EQ(fix.Spread, std::abs(row.amplitudes[3] - row.amplitudes[0])) << "P1 " << row.p1;
  }
}

}  // namespace
}  // namespace raz
