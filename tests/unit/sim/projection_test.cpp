#include "sim/projection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "sim/board_model.h"
#include "sim/margin_keys.h"

namespace raz::sim {
namespace {

TEST(Projection, SquareProjectionPutsScreenCornersAtTheBoardRectangle) {
  const Projection projection({.screenWidth = 1000,
                               .screenHeight = 500,
                               .centre = {80.0, 70.0},
                               .widthCells = 100.0,
                               .heightCells = 50.0,
                               .rotationDegrees = 0.0,
                               .keystone = 0.0});
  struct Row {
    PixelPoint pixel;
    BoardPoint board;
  };
  const Row rows[] = {
      {{0, 0}, {30.0, 45.0}},   {{1000, 0}, {130.0, 45.0}},   {{500, 250}, {80.0, 70.0}},
      {{0, 500}, {30.0, 95.0}}, {{1000, 500}, {130.0, 95.0}}, {{250, 100}, {55.0, 55.0}},
  };
  for (const Row& row : rows) {
    const BoardPoint board = projection.ToBoard(row.pixel);
    EXPECT_NEAR(board.x, row.board.x, 1e-9) << "pixel " << row.pixel.x << "," << row.pixel.y;
    EXPECT_NEAR(board.y, row.board.y, 1e-9) << "pixel " << row.pixel.x << "," << row.pixel.y;
  }
}

TEST(Projection, KeystoneNarrowsTheTopAndWidensTheBottom) {
  const Projection projection(
      {.widthCells = 100.0, .heightCells = 100.0, .rotationDegrees = 0.0, .keystone = 0.05});
  const double top = projection.ToBoard({1024, 0}).x - projection.ToBoard({0, 0}).x;
  const double middle = projection.ToBoard({1024, 384}).x - projection.ToBoard({0, 384}).x;
  const double bottom = projection.ToBoard({1024, 768}).x - projection.ToBoard({0, 768}).x;
  EXPECT_NEAR(top, 95.0, 1e-9);
  EXPECT_NEAR(middle, 100.0, 1e-9);
  EXPECT_NEAR(bottom, 105.0, 1e-9);
}

TEST(Projection, RotationTurnsTheScreensHorizontalLine) {
  const Projection projection({.rotationDegrees = 2.0, .keystone = 0.0});
  const BoardPoint left = projection.ToBoard({0, 384});
  const BoardPoint right = projection.ToBoard({1024, 384});
  const double degrees = std::atan2(right.y - left.y, right.x - left.x) * 180.0 / std::numbers::pi;
  EXPECT_NEAR(degrees, 2.0, 1e-9);
}

TEST(Projection, ToScreenUndoesToBoardAcrossTheScreen) {
  const Projection projection({.rotationDegrees = -1.5, .keystone = 0.08});
  double worst = 0.0;
  for (int u = -100; u <= 1124; u += 61) {
    for (int v = -100; v <= 868; v += 47) {
      const PixelPoint back = projection.ToScreen(projection.ToBoard({double(u), double(v)}));
      worst = std::max({worst, std::abs(back.x - u), std::abs(back.y - v)});
    }
  }
  EXPECT_LT(worst, 1e-9);
}

TEST(Projection, OutOfRangeKeystoneIsHeldWhereTheInverseExists) {
  const Projection projection({.keystone = 3.0});
  EXPECT_LE(projection.config().keystone, 0.45);
  const PixelPoint back = projection.ToScreen(projection.ToBoard({10, 10}));
  EXPECT_NEAR(back.x, 10.0, 1e-9);
  EXPECT_NEAR(back.y, 10.0, 1e-9);
}

// The default setup must leave room for the margin icons and keep the screen on the sensors.
TEST(Projection, DefaultScreenLiesOnTheBoardBetweenTheKeyMargins) {
  const Projection projection;
  const MarginKeyLayout keys;
  for (const PixelPoint corner :
       {PixelPoint{0, 0}, PixelPoint{1024, 0}, PixelPoint{0, 768}, PixelPoint{1024, 768}}) {
    const BoardPoint board = projection.ToBoard(corner);
    EXPECT_GT(board.x, keys.leftInnerEdge) << corner.x << "," << corner.y;
    EXPECT_LT(board.x, keys.rightInnerEdge) << corner.x << "," << corner.y;
    EXPECT_GT(board.y, kFirstValidPosition) << corner.x << "," << corner.y;
    EXPECT_LT(board.y, kLastValidPosition) << corner.x << "," << corner.y;
  }
}

}  // namespace
}  // namespace raz::sim
