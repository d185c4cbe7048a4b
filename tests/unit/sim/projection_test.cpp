#include "sim/projection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace raz::sim {

TEST(Projection, PutsTheScreenOnItsBoardRectangleKeystonedAndTurned) {
  const ProjectionConfig square{1000, 500, {80.0, 70.0}, 100.0, 50.0, 0.0, 0.0};
  ProjectionConfig keystoned = square, turned = square;
  keystoned.keystone = 0.05;
  turned.rotationDegrees = 90.0;
  // Keystone narrows the top row and widens the bottom one; a positive angle turns clockwise
  // on the board, whose y grows downward.
  const std::tuple<ProjectionConfig, PixelPoint, CellPoint> rows[] = {
      {square, {0, 0}, {30, 45}},
      {square, {1000, 500}, {130, 95}},
      {square, {250, 100}, {55, 55}},
      {keystoned, {0, 0}, {32.5, 45}},
      {keystoned, {1000, 500}, {132.5, 95}},
      {turned, {1000, 250}, {80, 120}}};
  for (const auto& [config, pixel, board] : rows) {
    const CellPoint got = Projection(config).ToBoard(pixel);
    EXPECT_LT(std::hypot(got.x - board.x, got.y - board.y), 1e-9)
        << "keystone " << config.keystone << " rotation " << config.rotationDegrees << " pixel "
        << pixel.x << "," << pixel.y << " lies at " << got.x << "," << got.y;
  }
}

TEST(Projection, ToScreenUndoesToBoardEvenWithAnOutOfRangeKeystone) {
  for (const double keystone : {0.08, 3.0}) {
    const Projection projection({.rotationDegrees = -1.5, .keystone = keystone});
    EXPECT_LE(projection.config().keystone, 0.45) << "held where the inverse exists";
    double worst = 0.0;
    for (int u = -100; u <= 1124; u += 61) {
      for (int v = -100; v <= 868; v += 47) {
        const PixelPoint back = projection.ToScreen(projection.ToBoard({double(u), double(v)}));
        worst = std::max({worst, std::abs(back.x - u), std::abs(back.y - v)});
      }
    }
    EXPECT_LT(worst, 1e-9) << "keystone " << keystone;
  }
}

}  // namespace raz::sim
