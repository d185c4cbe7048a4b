#include "board/block_search.h"

#include <gtest/gtest.h>

#include "board/cell_table.h"

namespace raz {
namespace {

struct BlockCase {
  Axis axis;
  int anchor;
  TopSensors top;
  int block;
};

std::string Describe(const BlockCase& c) {
  std::string text = c.axis == Axis::X ? "X" : "Y";
  text += " anchor " + std::to_string(c.anchor) + " top";
  for (int sensor : c.top) text += " " + std::to_string(sensor);
  return text;
}

void ExpectBlocks(std::initializer_list<BlockCase> cases) {
  for (const BlockCase& c : cases) {
    EXPECT_EQ(FindBlock(c.axis, c.anchor, c.top), c.block) << Describe(c);
  }
}

TEST(BlockSearch, ExceptionRowsDecideBeforeTheAdjacencyRules) {
  ExpectBlocks({
      // Adjacent in block 1, 1 and 10 respectively, and still no block.
      {Axis::X, 1, {15, 5, 9, 0, 0}, 0},
      {Axis::Y, 1, {15, 5, 9, 0, 0}, 0},
      {Axis::X, 7, {18, 7, 2, 0, 0}, 0},
      {Axis::Y, 7, {18, 7, 2, 0, 0}, 0},
      {Axis::X, 10, {11, 21, 4, 0, 0}, 0},
      {Axis::Y, 10, {11, 21, 4, 0, 0}, 0},
      {Axis::X, 1, {3, 21, 1, 0, 0}, 3},
      {Axis::X, 1, {3, 21, 5, 0, 0}, 3},
      {Axis::Y, 1, {3, 21, 5, 0, 0}, 3},
      {Axis::X, 4, {4, 3, 20, 0, 0}, 5},
      {Axis::X, 7, {5, 2, 6, 0, 0}, 5},
      {Axis::Y, 7, {5, 2, 7, 0, 0}, 5},
      {Axis::X, 7, {20, 17, 3, 0, 0}, 3},
      {Axis::Y, 7, {20, 17, 7, 0, 0}, 3},
      {Axis::X, 13, {9, 8, 13, 0, 0}, 5},
      {Axis::Y, 13, {9, 8, 13, 0, 0}, 5},
      {Axis::X, 19, {11, 18, 21, 0, 0}, 3},
      {Axis::X, 19, {18, 11, 21, 0, 0}, 3},
      {Axis::Y, 19, {2, 3, 6, 0, 0}, 6},
      {Axis::Y, 19, {3, 2, 6, 0, 0}, 6},
      {Axis::X, 19, {15, 14, 19, 0, 0}, 5},
      {Axis::Y, 19, {15, 14, 19, 0, 0}, 5},
      {Axis::Y, 19, {19, 16, 15, 0, 0}, 7},
      {Axis::Y, 19, {19, 16, 17, 0, 0}, 7},
      // Adjacent in block 7, yet block 5.
      {Axis::X, 19, {19, 18, 14, 0, 0}, 5},
      {Axis::Y, 19, {19, 18, 14, 0, 0}, 5},
      {Axis::X, 19, {19, 20, 14, 0, 0}, 5},
      {Axis::Y, 19, {19, 20, 14, 0, 0}, 5},
  });
}

TEST(BlockSearch, RowsForOneAxisLeaveTheOtherAxisToTheAdjacencyRules) {
  ExpectBlocks({
      {Axis::Y, 1, {3, 21, 1, 0, 0}, 0},
      {Axis::Y, 4, {4, 3, 20, 0, 0}, 7},  // 3 and 4 are neighbours in block 7
      {Axis::Y, 19, {11, 18, 21, 0, 0}, 0},
      {Axis::Y, 19, {18, 11, 21, 0, 0}, 0},
      {Axis::X, 19, {2, 3, 6, 0, 0}, 0},
      {Axis::X, 19, {3, 2, 6, 0, 0}, 0},
      {Axis::X, 19, {19, 16, 15, 0, 0}, 0},
      {Axis::X, 19, {19, 16, 17, 0, 0}, 0},
  });
}

TEST(BlockSearch, ExceptionRowsNeedTheirThirdSensor) {
  ExpectBlocks({
      {Axis::X, 1, {3, 21, 2, 0, 0}, 0},
      {Axis::X, 19, {19, 18, 13, 0, 0}, 7},
      {Axis::X, 19, {19, 20, 13, 0, 0}, 7},
  });
}

TEST(BlockSearch, AdjacentStrongestPairNamesTheBlock) {
  ExpectBlocks({
      {Axis::X, 1, {1, 5, 0, 0, 0}, 1},
      {Axis::X, 1, {5, 1, 0, 0, 0}, 1},
      {Axis::X, 1, {1, 8, 0, 0, 0}, 2},
      {Axis::X, 1, {1, 12, 0, 0, 0}, 2},  // 12 ends block 1, just before block 2's anchor
      {Axis::Y, 10, {15, 20, 10, 7, 2}, 4},
  });
}

TEST(BlockSearch, TripleRuleUsesTheNextAnchorAndTheCellBetween) {
  ExpectBlocks({
      {Axis::X, 1, {1, 4, 2, 0, 0}, 7},
      {Axis::Y, 1, {1, 4, 2, 0, 0}, 7},
  });
}

TEST(BlockSearch, QuadruplePatternsPlaceAnchorSevenRowsOnly) {
  ExpectBlocks({
      {Axis::X, 7, {14, 17, 21, 3, 9}, 3},
      {Axis::Y, 7, {17, 15, 12, 20, 9}, 4},
      {Axis::X, 7, {17, 20, 12, 15, 9}, 4},
      {Axis::Y, 7, {20, 2, 3, 6, 9}, 5},
      {Axis::X, 7, {20, 6, 3, 2, 9}, 5},
      {Axis::X, 7, {20, 6, 3, 5, 9}, 0},
      {Axis::X, 1, {20, 6, 3, 2, 9}, 0},
      {Axis::X, 16, {14, 17, 21, 3, 9}, 0},
  });
}

TEST(BlockSearch, LoneAnchorWithoutNeighbourFitsNoBlock) {
  ExpectBlocks({
      {Axis::X, 4, {4, 1, 21, 20, 19}, 0},
      {Axis::Y, 16, {16, 1, 11, 21, 20}, 0},
  });
}

// Every anchor with either neighbour, in every block, is placed back in that block.
TEST(BlockSearch, AnchorAndNeighbourCellsAreFoundInTheirOwnBlock) {
  for (int block = 1; block <= kCodeBlocks; ++block) {
    for (int anchor = 1; anchor <= 19; anchor += 3) {
      const int g = 21 * (block - 1) + anchor;
      for (int side : {-1, 1}) {
        const int neighbour = SensorAtCell(g + side);
        if (neighbour == 0) continue;
        EXPECT_EQ(FindBlock(Axis::X, anchor, {anchor, neighbour, 0, 0, 0}), block)
            << "block " << block << " anchor " << anchor << " neighbour " << neighbour;
      }
    }
  }
}

}  // namespace
}  // namespace raz
