#include "pointer/transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "app/driver_state.h"

namespace raz {
namespace {

using Points = std::array<PointF, kCalibrationPointCount>;

// Rows top to bottom in screen orientation: indices 6 7 8, 3 4 5, 0 1 2.
Points Grid(std::array<PointF, 3> top, std::array<PointF, 3> middle, std::array<PointF, 3> bottom) {
  return {bottom[0], bottom[1], bottom[2], middle[0], middle[1], middle[2], top[0], top[1], top[2]};
}

// Top-left (500, 400), 1000 x 600: every sector is the identity.
Points PerfectGrid() {
  return Grid({{{500, 400}, {1000, 400}, {1500, 400}}}, {{{500, 700}, {1000, 700}, {1500, 700}}},
              {{{500, 1000}, {1000, 1000}, {1500, 1000}}});
}

// A board seen at a slight angle with some keystone, as a real tour measures it.
Points DistortedGrid() {
  return Grid({{{512.3f, 401.7f}, {1003.9f, 396.2f}, {1497.4f, 409.8f}}},
              {{{505.6f, 702.4f}, {1010.2f, 698.9f}, {1508.7f, 705.3f}}},
              {{{497.1f, 1003.8f}, {1006.6f, 1012.5f}, {1502.2f, 996.4f}}});
}

// Measured centre (1000, 700); every slope is a power of two, so points on a ray are exactly
// on it in float arithmetic.
Points ExactSlopeGrid() {
  const auto at = [](float dx, float dy) { return PointF{1000 + dx, 700 + dy}; };
  return Grid({{at(-256, -256), at(-16, -256), at(512, -256)}},
              {{at(-512, 16), at(0, 0), at(512, -32)}},
              {{at(-512, 256), at(32, 256), at(512, 512)}});
}

struct MapRig {
  explicit MapRig(const Points& points, std::int32_t offsetX = 0, std::int32_t offsetY = 0) {
    BuildCalibrationModel(state->model, points);
    state->calibration.ScreenOffsetX = offsetX;
    state->calibration.ScreenOffsetY = offsetY;
  }
  std::pair<std::int32_t, std::int32_t> Map(std::int32_t x, std::int32_t y,
                                            std::int32_t status = PenStatusCode::Touch) {
    state->sample.PenStatus = status;
    state->sample.X = x;
    state->sample.Y = y;
    MapToScreen(*state);
    return {state->sample.X, state->sample.Y};
  }
  std::unique_ptr<DriverState> state = std::make_unique<DriverState>();
};

TEST(Transform, PerfectGrid_ModelIsIdentityInEverySector) {
  CalibrationModel m;
  BuildCalibrationModel(m, PerfectGrid());
  EXPECT_EQ(m.GridWidth, 1000);
  EXPECT_EQ(m.GridHeight, 600);
  for (int g = 0; g < 4; ++g) {
    SCOPED_TRACE(g);
    EXPECT_EQ(m.AxisSin[g], 0.0f);
    EXPECT_EQ(m.AxisCos[g], 1.0f);
    EXPECT_EQ(m.AxisScale[g], 1.0f);
  }
}

TEST(Transform, PerfectGrid_MeasuredPointsMapToThemselvesMinusTheOffset) {
  MapRig rig(PerfectGrid(), 450, 350);
  const Points points = PerfectGrid();
  for (int k = 0; k < 9; ++k) {
    const auto x = static_cast<std::int32_t>(points[k].x);
    const auto y = static_cast<std::int32_t>(points[k].y);
    EXPECT_EQ(rig.Map(x, y), std::make_pair(x - 450, y - 350)) << "point " << k;
  }
  EXPECT_EQ(rig.Map(500, 400), std::make_pair(50, 50));
  EXPECT_EQ(rig.Map(1500, 1000), std::make_pair(1050, 650));
  EXPECT_EQ(rig.Map(733, 612), std::make_pair(283, 262));
}

TEST(Transform, OnlyTouchAndHoverSamplesAreMapped) {
  MapRig rig(PerfectGrid(), 450, 350);
  EXPECT_EQ(rig.Map(700, 500, PenStatusCode::Hover), std::make_pair(250, 150));
  EXPECT_EQ(rig.Map(700, 500, PenStatusCode::NoPen), std::make_pair(700, 500));
  EXPECT_EQ(rig.Map(700, 500, PenStatusCode::RightButton), std::make_pair(700, 500));
}

TEST(Transform, SampleInNoSector_FirstIsOnlyShiftedThenKeepsThePreviousSector) {
  // Measured centre (1000, 700), ideal centre (1128, 828); the measured centre lies on no
  // sector's side of any ray.
  MapRig rig(ExactSlopeGrid(), 450, 350);
  EXPECT_EQ(rig.Map(1000, 700), std::make_pair(550, 350));
  EXPECT_EQ(rig.state->model.Sector, 0);

  rig.Map(1400, 900);
  const std::int32_t sector = rig.state->model.Sector;
  ASSERT_NE(sector, 0);
  // Any sector carries the measured centre onto the ideal one.
  EXPECT_EQ(rig.Map(1000, 700), std::make_pair(1128 - 450, 828 - 350));
  EXPECT_EQ(rig.state->model.Sector, sector);
}

TEST(Transform, Rebuild_KeepsTheSectorOfTheLastSample) {
  CalibrationModel m;
  m.Sector = 5;
  BuildCalibrationModel(m, DistortedGrid());
  EXPECT_EQ(m.Sector, 5);
}

struct RayCase {
  int point;          // grid index the ray runs through
  int ownSector;      // the neighbour whose bound on this ray carries the tolerance
  int otherSector;
};

TEST(Transform, PointOnARay_BelongsToExactlyOneOfItsTwoSectors) {
  const Points points = ExactSlopeGrid();
  CalibrationModel m;
  BuildCalibrationModel(m, points);
  const RayCase cases[] = {{0, 8, 1}, {1, 1, 2}, {2, 2, 3}, {5, 3, 4},
                           {8, 4, 5}, {7, 5, 6}, {6, 6, 7}, {3, 7, 8}};
  for (const RayCase& c : cases) {
    for (double t : {0.5, 1.0, 3.0}) {
      const double x = t * m.P[c.point].x;
      const double y = t * m.P[c.point].y;
      SCOPED_TRACE(testing::Message() << "ray " << c.point << " at " << t);
      EXPECT_TRUE(SectorTestHolds(m, c.ownSector, x, y));
      EXPECT_FALSE(SectorTestHolds(m, c.otherSector, x, y));
      m.Sector = 0;
      ClassifySector(m, x, y);
      EXPECT_EQ(m.Sector, c.ownSector);
    }
  }
}

TEST(Transform, PointJustBesideARay_BelongsToTheNeighbour) {
  CalibrationModel m;
  BuildCalibrationModel(m, ExactSlopeGrid());
  // A hundredth of a unit off the ray, on the side away from the sector that owns the ray.
  struct Case {
    int point;
    double dx, dy;
    int sector;
  };
  const Case cases[] = {{1, 0.01, 0, 2}, {5, 0, -0.01, 4}, {7, -0.01, 0, 6}, {3, 0, 0.01, 8},
                        {0, 0, 0.01, 1},  {2, 0, -0.01, 3}, {8, 0, -0.01, 5}, {6, -0.01, 0, 7}};
  for (const Case& c : cases) {
    m.Sector = 0;
    ClassifySector(m, m.P[c.point].x + c.dx, m.P[c.point].y + c.dy);
    EXPECT_EQ(m.Sector, c.sector) << "beside ray " << c.point;
  }
}

struct EdgePoint {
  int point;
  int sectorA;
  int sectorB;
};

// Corners and mid-edge points, each with the two sectors that share it.
constexpr EdgePoint kEdgePoints[] = {{0, 1, 8}, {2, 2, 3}, {6, 6, 7}, {8, 5, 4},
                                     {1, 1, 2}, {5, 3, 4}, {7, 5, 6}, {3, 7, 8}};

// Where the sectors carry each measured point of DistortedGrid. Corners land on their ideal
// corners. A mid-edge point lands half the grid span from the ideal centre: with the odd
// width 989 that is 494.5, half a unit inside the integer half-grid points 3 and 5.
constexpr std::array<PointD, 9> kDistortedLanding{{
    {512.3, 995.7}, {1006.3, 995.7}, {1502.2, 996.4},
    {511.8, 698.7}, {1006.3, 698.7}, {1500.8, 698.7},
    {512.3, 401.7}, {1006.3, 401.7}, {1501.3, 401.7},
}};

TEST(Transform, DistortedGrid_EveryMeasuredPointLandsInPlaceThroughEitherSector) {
  const Points points = DistortedGrid();
  CalibrationModel m;
  BuildCalibrationModel(m, points);
  for (const EdgePoint& e : kEdgePoints) {
    for (int sector : {e.sectorA, e.sectorB}) {
      const PointD mapped = MapInSector(m, sector, {points[e.point].x, points[e.point].y});
      EXPECT_NEAR(mapped.x, kDistortedLanding[e.point].x, 1e-3)
          << "point " << e.point << " sector " << sector;
      EXPECT_NEAR(mapped.y, kDistortedLanding[e.point].y, 1e-3)
          << "point " << e.point << " sector " << sector;
    }
  }
}

TEST(Transform, DistortedGrid_NeighbouringSectorsAgreeAlongTheirSharedRay) {
  const Points points = DistortedGrid();
  CalibrationModel m;
  BuildCalibrationModel(m, points);
  const PointF centre = points[4];
  for (const EdgePoint& e : kEdgePoints) {
    for (double t : {0.3, 0.7, 1.5}) {
      const PointD p{centre.x + t * m.P[e.point].x, centre.y + t * m.P[e.point].y};
      const PointD a = MapInSector(m, e.sectorA, p);
      const PointD b = MapInSector(m, e.sectorB, p);
      EXPECT_NEAR(a.x, b.x, 1e-6) << "ray " << e.point << " at " << t;
      EXPECT_NEAR(a.y, b.y, 1e-6) << "ray " << e.point << " at " << t;
    }
  }
}

TEST(Transform, DistortedGrid_MapToScreenPutsTheMeasuredCornersOnTheTargets) {
  // Offsets as a tour on a 1024 x 768 screen would leave them: the top-left target at 50.
  MapRig rig(DistortedGrid(), 462, 351);
  const Points points = DistortedGrid();
  for (int k : {0, 1, 2, 3, 5, 6, 7, 8}) {
    const auto [x, y] = rig.Map(static_cast<std::int32_t>(std::lround(points[k].x)),
                                static_cast<std::int32_t>(std::lround(points[k].y)));
    EXPECT_NEAR(x, kDistortedLanding[k].x - 462, 1.5) << "point " << k;
    EXPECT_NEAR(y, kDistortedLanding[k].y - 351, 1.5) << "point " << k;
  }
}

}  // namespace
}  // namespace raz
