#include "calibration/transform.h"

#include <gtest/gtest.h>

#include <tuple>

namespace raz {
namespace {

using Points = std::array<PointF, kCalibrationPointCount>;

// clang-format off
// Measured centre (1000, 700) and offsets from it whose slopes are all powers of two, so points
// on a ray are exactly on it in float arithmetic.
constexpr Points kExactSlopeGrid{{{488, 956}, {1032, 956}, {1512, 1212},
                                  {488, 716}, {1000, 700}, {1512, 668},
                                  {744, 444}, {984, 444},  {1512, 444}}};

// The same with the mid-edge points turned the other way round the centre: the right one
// below it, the bottom one left of it, the left one above it.
constexpr Points kTurnedExactSlopeGrid{{{488, 956}, {968, 956},   {1512, 1212},
                                        {488, 684}, {1000, 700},  {1512, 732},
                                        {744, 444}, {1016, 444},  {1512, 444}}};
// clang-format on

struct MapRig {
  MapRig(const Points& points, std::int32_t offsetX, std::int32_t offsetY)
      : offsetX(offsetX), offsetY(offsetY) {
    BuildCalibrationModel(model, points);
  }
  std::pair<int, int> Map(int x, int y) {
    const ScreenPoint p = MapToScreen({x, y}, model, offsetX, offsetY);
    return {p.x, p.y};
  }
  CalibrationModel model;
  std::int32_t offsetX;
  std::int32_t offsetY;
};

TEST(Transform, SampleInNoSector_FirstIsOnlyShiftedThenKeepsThePreviousSector) {
  // Measured centre (1000, 700), ideal centre (1128, 828): the measured centre lies on no
  // sector's side of any ray.
  MapRig rig(kExactSlopeGrid, 450, 350);
  EXPECT_EQ(rig.Map(1000, 700), std::make_pair(550, 350));
  EXPECT_EQ(rig.model.Sector, 0);
  rig.Map(1400, 900);
  const std::int32_t sector = rig.model.Sector;
  ASSERT_NE(sector, 0);
  // Any sector carries the measured centre onto the ideal one.
  EXPECT_EQ(rig.Map(1000, 700), std::make_pair(1128 - 450, 828 - 350));
  EXPECT_EQ(rig.model.Sector, sector);
  // A finished tour rebuilds the model; the sector carries over into the new one, so the
  // centre, in no sector of the new model either, is still carried onto the ideal centre.
  BuildCalibrationModel(rig.model, kTurnedExactSlopeGrid);
  EXPECT_EQ(rig.model.Sector, sector) << "rebuilt";
  EXPECT_EQ(rig.Map(1000, 700), std::make_pair(1128 - 450, 828 - 350)) << "rebuilt";
}

TEST(Transform, PointOnARay_BelongsToExactlyOneSectorAndJustBesideItToTheOther) {
  CalibrationModel m;
  BuildCalibrationModel(m, kExactSlopeGrid);
  // {point the ray runs through, the sector that owns the ray and carries the tolerance, the
  // other neighbour, an offset of a hundredth of a unit off the ray away from the owner}
  const std::tuple<int, int, int, double, double> cases[] = {
      {0, 8, 1, 0, 0.01},  {1, 1, 2, 0.01, 0},  {2, 2, 3, 0, -0.01}, {5, 3, 4, 0, -0.01},
      {8, 4, 5, 0, -0.01}, {7, 5, 6, -0.01, 0}, {6, 6, 7, -0.01, 0}, {3, 7, 8, 0, 0.01}};
  for (const auto& [point, own, other, dx, dy] : cases) {
    for (double t : {0.5, 1.0, 3.0}) {
      const double x = t * m.P[point].x;
      const double y = t * m.P[point].y;
      SCOPED_TRACE(testing::Message() << "ray " << point << " at " << t);
      EXPECT_TRUE(SectorTestHolds(m, own, x, y));
      EXPECT_FALSE(SectorTestHolds(m, other, x, y));
      m.Sector = 0;
      ClassifySector(m, x, y);
      EXPECT_EQ(m.Sector, own);
      ClassifySector(m, x + dx, y + dy);
      EXPECT_EQ(m.Sector, other) << "beside the ray";
    }
  }
}

// Within the ray tolerance of the measured centre, neighbouring sector tests hold together;
// the quadrant's order of tests decides. One point per pair of tests that follow each other in
// a quadrant's order, where both hold and no test earlier in that order does, so swapping any
// two tests of an order changes a result. Coordinates in steps of 2^-20, so the sums are exact.
TEST(Transform, OverlappingSectorTests_TheQuadrantOrderPicksTheFirst) {
  CalibrationModel m;
  BuildCalibrationModel(m, kTurnedExactSlopeGrid);
  constexpr double kStep = 1.0 / (1 << 20);
  // {x, y in steps, the sector chosen, the later test that holds as well}
  const int cases[][4] = {
      {0, 1, 1, 2},   {11, 1, 2, 3},   {11, 0, 3, 4},    // x >= 0, y >= 0: t1 t2 t3 t4
      {1, -1, 2, 3},  {0, -1, 3, 4},   {2, -11, 4, 5},   // x >= 0, y < 0: t2 t3 t4 t5
      {-1, 0, 7, 8},  {-2, 11, 8, 1},  {-1, 12, 1, 2},   // x < 0, y >= 0: t7 t8 t1 t2
      {-1, -1, 5, 6}, {-11, -1, 6, 7}, {-33, -1, 7, 8},  // x < 0, y < 0: t5 t6 t7 t8
  };
  for (const auto& [x, y, chosen, also] : cases) {
    const double qx = x * kStep;
    const double qy = y * kStep;
    SCOPED_TRACE(testing::Message() << "(" << x << ", " << y << ") steps");
    ASSERT_TRUE(SectorTestHolds(m, chosen, qx, qy));
    ASSERT_TRUE(SectorTestHolds(m, also, qx, qy));
    m.Sector = 0;
    ClassifySector(m, qx, qy);
    EXPECT_EQ(m.Sector, chosen);
  }
}

}  // namespace
}  // namespace raz
