#include "board/cell_table.h"

#include <gtest/gtest.h>

#include <set>

namespace raz {
namespace {

TEST(CellTable, EveryBlockHoldsEachSensorOnceWithTheAnchorsOnEveryThirdCell) {
  for (int block = 1; block <= kCodeBlocks; ++block) {
    std::multiset<int> sensors;
    for (int m = 1; m <= 21; ++m) {
      const int sensor = SensorAtCell(21 * (block - 1) + m);
      sensors.insert(sensor);
      if (m % 3 == 1) {
        EXPECT_EQ(sensor, m) << "block " << block << " anchor cell " << m;
      }
    }
    for (int sensor = 1; sensor <= 21; ++sensor) {
      EXPECT_EQ(sensors.count(sensor), 1u) << "block " << block << " sensor " << sensor;
    }
  }
}

}  // namespace
}  // namespace raz
