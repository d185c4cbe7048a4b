#include "board/axis_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace raz {
namespace {

// Levels of sensors 1..21 from (sensor, level) pairs, every other sensor at `rest`.
std::vector<int> Levels(std::initializer_list<int> sensorLevelPairs, int rest = 0) {
  std::vector<int> levels(21, rest);
  for (auto it = sensorLevelPairs.begin(); it != sensorLevelPairs.end(); it += 2) {
    levels[static_cast<std::size_t>(it[0] - 1)] = it[1];
  }
  return levels;
}

AxisWork RankedRow(const std::vector<int>& levels) {
  ReportSlots store{};
  std::copy(levels.begin(), levels.end(), store.begin() + kFirstXSlot);
  AxisWork work;
  RankRow(store, kFirstXSlot, work);
  return work;
}

const std::vector<int> kWorkedExample{6,  40, 4, 11,  10, 3,  54, 6, 8,   93, 3,
                                      28, 13, 6, 218, 6,  16, 21, 5, 138, 7};

TEST(AxisDecoder, EqualLevelsRankTheHigherSensorFirstAndTheBestAnchorSensorIsTheAnchor) {
  const struct {
    std::vector<int> levels;
    TopSensors top;
    int anchor;
  } rows[] = {
      {kWorkedExample, {15, 20, 10, 7, 2}, 10},
      {Levels({3, 100, 8, 100}), {8, 3, 21, 20, 19}, 19},
      {Levels({4, 90, 7, 90, 1, 90}), {7, 4, 1, 21, 20}, 7},
      {Levels({}), {21, 20, 19, 18, 17}, 19},
      {Levels({2, 50, 3, 50}, 50), {21, 20, 19, 18, 17}, 19},
      {Levels({21, 9}, 10), {20, 19, 18, 17, 16}, 19},
      // Fourteen non-anchor sensors above every anchor; anchor 13 is the best of the rest.
      {Levels({1, 29, 4, 0, 7, 0, 10, 0, 13, 30, 16, 0, 19, 0}, 200), {21, 20, 18, 17, 15}, 13},
  };
  for (const auto& row : rows) {
    const AxisWork work = RankedRow(row.levels);
    EXPECT_EQ(work.Top, row.top) << "T1 " << row.top[0] << " anchor " << row.anchor;
    EXPECT_EQ(work.Anchor, row.anchor) << "T1 " << row.top[0] << " anchor " << row.anchor;
  }
}

TEST(AxisDecoder, DoublePeakNeedsBothStrongestAbove210) {
  const struct {
    int first, second;
    std::int32_t doublePeak;
  } rows[] = {{211, 211, 1}, {255, 211, 1}, {211, 210, 0}, {255, 100, 0}, {210, 210, 0}};
  for (const auto& row : rows) {
    const AxisWork work = RankedRow(Levels({10, row.first, 11, row.second}));
    EXPECT_EQ(DoublePeak(work), row.doublePeak) << row.first << "/" << row.second;
  }
}

// Block, G, P1, A1..A4, Spread.
using Placement = std::array<std::int32_t, 8>;

TEST(AxisDecoder, PlacedRowGivesItsCellAndTheWindowOfFourPositions) {
  const struct {
    std::vector<int> levels;
    Placement placement;
  } rows[] = {
      {kWorkedExample, {4, 73, 143, 93, 54, 40, 138, 45}},
      // Block 7, anchor 19: cells 146, 147, 148 carry 20, 21 and no sensor.
      {Levels({19, 200, 20, 150, 21, 100, 18, 60}, 5), {7, 145, 291, 100, 60, 0, 200, 100}},
      // Block 1, anchor 1: cells -2, -1, 0 carry no sensor; S = (200, 0, 150, 0, 50, 0, 50, 200).
      {Levels({1, 200, 5, 150}, 50), {1, 1, 3, 50, 0, 50, 200, 150}},
      // Without a block the row is fixed around cell 21 - anchor.
      {Levels({4, 200, 1, 100}), {0, 17, 35, 0, 0, 0, 0, 0}},
      // Block 7, anchor 10: S = (a10, a7, a11, a8, a12, a9, a13, a10). a8 > a11: window at 0;
      // a9 > a12: at 2; neither: at 4.
      {Levels({10, 200, 9, 180, 8, 150, 11, 100, 7, 30, 12, 20}),
       {7, 136, 269, 200, 30, 100, 150, 50}},
      {Levels({10, 200, 9, 180, 11, 150, 8, 100, 12, 120, 7, 30}),
       {7, 136, 271, 150, 100, 120, 180, 30}},
      {Levels({10, 200, 11, 180, 12, 120, 9, 100, 8, 90, 13, 5}),
       {7, 136, 273, 120, 100, 5, 200, 80}},
  };
  for (const auto& row : rows) {
    AxisWork work = RankedRow(row.levels);
    AxisFix f;
    const int p1 = row.placement[2];
    EXPECT_EQ(PlaceRow(Axis::X, work, f), row.placement[0] != 0) << "P1 " << p1;
    EXPECT_EQ((Placement{work.Block, work.Cell, f.P1, f.A1, f.A2, f.A3, f.A4, f.Spread}),
              row.placement);
    EXPECT_EQ((std::array{f.P2, f.P3, f.P4}), (std::array{p1 + 1, p1 + 2, p1 + 3})) << "P1 " << p1;
  }
}

}  // namespace
}  // namespace raz
