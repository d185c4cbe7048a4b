#include "board/cell_table.h"

#include <gtest/gtest.h>

#include <set>

namespace raz {
namespace {

TEST(CellTable, EveryBlockCarriesEachAnchorOnItsThirdCell) {
  for (int block = 1; block <= kCodeBlocks; ++block) {
    for (int anchor = 1; anchor <= 19; anchor += 3) {
      EXPECT_EQ(SensorAtCell(21 * (block - 1) + anchor), anchor)
          << "block " << block << " anchor " << anchor;
    }
  }
}

TEST(CellTable, EveryBlockHoldsEachSensorOnce) {
  for (int block = 1; block <= kCodeBlocks; ++block) {
    std::set<int> sensors;
    for (int cell = 21 * (block - 1) + 1; cell <= 21 * block; ++cell) {
      sensors.insert(SensorAtCell(cell));
    }
    EXPECT_EQ(sensors, (std::set<int>{1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11,
                                      12, 13, 14, 15, 16, 17, 18, 19, 20, 21}))
        << "block " << block;
  }
}

TEST(CellTable, CellsOutsideTheCodeCarrySensorZero) {
  const struct {
    long long cell;
    int sensor;
  } rows[] = {{-2, 0},   {-1, 0},  {0, 0},   {1, 1},   {2, 5},   {146, 20},
              {147, 21}, {148, 0}, {149, 0}, {150, 0}, {151, 0}, {1'000'000, 0}};
  for (const auto& row : rows) EXPECT_EQ(SensorAtCell(row.cell), row.sensor) << "cell " << row.cell;
}

// The block search looks a sensor up by its offset from the anchor's cell; that offset must
// be unambiguous in every window it searches.
TEST(CellTable, NoSensorRepeatsWithinFourCellsOfAnyAnchorCell) {
  for (int block = 1; block <= kCodeBlocks; ++block) {
    for (int anchor = 1; anchor <= 19; anchor += 3) {
      const int g = 21 * (block - 1) + anchor;
      std::multiset<int> seen;
      for (int cell = g - 4; cell <= g + 4; ++cell) {
        if (SensorAtCell(cell) != 0) seen.insert(SensorAtCell(cell));
      }
      for (int sensor : seen) {
        EXPECT_EQ(seen.count(sensor), 1u)
            << "block " << block << " anchor " << anchor << " sensor " << sensor;
      }
    }
  }
}

TEST(CellTable, AnchorSensorsAreEveryThirdFromOne) {
  std::set<int> anchors;
  for (int sensor = -1; sensor <= 23; ++sensor) {
    if (IsAnchorSensor(sensor)) anchors.insert(sensor);
  }
  EXPECT_EQ(anchors, (std::set<int>{1, 4, 7, 10, 13, 16, 19}));
}

}  // namespace
}  // namespace raz
