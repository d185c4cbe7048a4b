#include "board/block_search.h"

#include <gtest/gtest.h>

#include <span>

#include "board/cell_table.h"

namespace raz {
namespace {

struct BlockCase {
  int anchor;
  TopSensors top;
  int blockX, blockY;
};

void ExpectBlocks(std::span<const BlockCase> cases) {
  for (const BlockCase& c : cases) {
    const auto where = ::testing::PrintToString(c.top) + " anchor " + std::to_string(c.anchor);
    EXPECT_EQ(FindBlock(Axis::X, c.anchor, c.top), c.blockX) << "X, top " << where;
    EXPECT_EQ(FindBlock(Axis::Y, c.anchor, c.top), c.blockY) << "Y, top " << where;
  }
}

// Every row of the exception table, each on both axes, then three rows that miss their third
// sensor. The first three pairs lie on adjacent cells of block 1 and still give no block;
// (4, 3) and (19, 18), (19, 20) are adjacent in block 7.
TEST(BlockSearch, ExceptionRowsDecideBeforeTheAdjacencyRulesOnTheirOwnAxis) {
  const BlockCase cases[] = {
      {1, {15, 5, 9}, 0, 0},    {7, {18, 7, 2}, 0, 0},    {10, {11, 21, 4}, 0, 0},
      {1, {3, 21, 1}, 3, 0},    {1, {3, 21, 5}, 3, 3},    {4, {4, 3, 20}, 5, 7},
      {7, {5, 2, 6}, 5, 5},     {7, {5, 2, 7}, 5, 5},     {7, {20, 17, 3}, 3, 3},
      {7, {20, 17, 7}, 3, 3},   {13, {9, 8, 13}, 5, 5},   {19, {11, 18, 21}, 3, 0},
      {19, {18, 11, 21}, 3, 0}, {19, {2, 3, 6}, 0, 6},    {19, {3, 2, 6}, 0, 6},
      {19, {15, 14, 19}, 5, 5}, {19, {19, 16, 15}, 0, 7}, {19, {19, 16, 17}, 0, 7},
      {19, {19, 18, 14}, 5, 5}, {19, {19, 20, 14}, 5, 5}, {1, {3, 21, 2}, 0, 0},
      {19, {19, 18, 13}, 7, 7}, {19, {19, 20, 13}, 7, 7},
  };
  ExpectBlocks(cases);
}

// Pair: T1 and T2 on adjacent cells near the anchor, in either order (12 ends block 1, just
// before block 2's anchor). Triple: T1 and T2 three cells apart with T3 beside one of them, as
// offsets from the anchor's cell; one row per offset pattern, commented with the pattern and
// the cells of T1, T2 and T3, none of them a pair in any block.
// Quadruple: anchor 7 only. A lone anchor fits no block.
TEST(BlockSearch, PairTripleAndQuadrupleRulesNameTheBlock) {
  const BlockCase cases[] = {
      {1, {1, 5, 0, 0, 0}, 1, 1},       {1, {5, 1, 0, 0, 0}, 1, 1},
      {1, {1, 8, 0, 0, 0}, 2, 2},       {1, {1, 12, 0, 0, 0}, 2, 2},
      {10, {15, 20, 10, 7, 2}, 4, 4},   {1, {1, 4, 2, 0, 0}, 7, 7},
      {4, {4, 7, 14, 18, 11}, 3, 3},     // (0, 3, 1): cells 46, 49, 47
      {7, {7, 10, 3, 2, 6}, 5, 5},       // (0, 3, -1): cells 91, 94, 90
      {10, {17, 20, 10, 15, 12}, 2, 2},  // (1, 4, 0): cells 32, 35, 31
      {13, {11, 14, 3, 13, 21}, 6, 6},   // (1, 4, 2): cells 119, 122, 120
      {16, {3, 21, 16, 8, 5}, 4, 4},     // (2, -1, 0): cells 81, 78, 79
      {19, {21, 18, 17, 19, 20}, 7, 7},  // (2, -1, -2): cells 147, 144, 143
      {13, {6, 9, 13, 2, 20}, 3, 3},     // (-1, 2, 0): cells 54, 57, 55
      {10, {18, 21, 5, 10, 8}, 6, 6},    // (-1, 2, -2): cells 114, 117, 113
      {7, {14, 17, 21, 3, 9}, 3, 3},    {7, {17, 15, 12, 20, 9}, 4, 4},
      {7, {17, 20, 12, 15, 9}, 4, 4},   {7, {20, 2, 3, 6, 9}, 5, 5},
      {7, {20, 6, 3, 2, 9}, 5, 5},      {7, {20, 6, 3, 5, 9}, 0, 0},
      {1, {20, 6, 3, 2, 9}, 0, 0},      {16, {14, 17, 21, 3, 9}, 0, 0},
      {4, {4, 1, 21, 20, 19}, 0, 0},    {16, {16, 1, 11, 21, 20}, 0, 0},
  };
  ExpectBlocks(cases);
}

}  // namespace
}  // namespace raz
