#include "calibration/keystone.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "calibration/transform.h"

namespace raz {
namespace {

using Points = std::array<PointF, 9>;
using Distortion = std::function<PointD(double, double)>;  // screen pixel -> board units

// The nine targets of a 1024 x 768 screen, by grid index.
PointD Target(int k) { return {50.0 + 462.0 * (k % 3), 718.0 - 334.0 * (k / 3)}; }

Points Measured(const Distortion& board) {
  Points p;
  for (int k = 0; k < 9; ++k) {
    const PointD b = board(Target(k).x, Target(k).y);
    p[k] = {static_cast<float>(b.x), static_cast<float>(b.y)};
  }
  return p;
}

// A projector tilted both ways (a homography), and the simulator's trapezoid: rows evenly
// spaced, the width growing with the height (a bilinear map), turned by 2 degrees.
PointD Tilted(double x, double y) {
  const double w = 1.0 + 1.2e-4 * x - 0.9e-4 * y;
  return {(1.1 * x + 0.05 * y + 300.0) / w, (-0.03 * x + 0.95 * y + 120.0) / w};
}
PointD Trapezoid(double x, double y) {
  const double a = x / 1024 - 0.5;
  const double b = y / 768 - 0.5;
  const double dx = a * (1 + 2 * 0.08 * b) * 1100;
  const double dy = b * 820;
  const double c = std::cos(0.035);
  const double s = std::sin(0.035);
  return {600 + dx * c - dy * s, 450 + dx * s + dy * c};
}

// Exact for any perspective and any such trapezoid: points between and beyond the targets
// land where the targets' grid puts them (the top-left target in the centre of the unit its
// point falls in), to well under a thousandth of a pixel.
TEST(KeystoneExact, UndoesPerspectiveAndTrapezoidEverywhereOnTheScreen) {
  for (const Distortion& board : {Distortion(Tilted), Distortion(Trapezoid)}) {
    const Points q = Measured(board);
    const KeystoneModel model = BuildKeystoneModel(q);
    ASSERT_TRUE(model.Usable);
    double worst = 0.0;
    for (double x = 0.5; x < 1024; x += 31.0) {
      for (double y = 0.5; y < 768; y += 23.0) {
        const auto got = MapKeystoneExact(model, board(x, y));
        ASSERT_TRUE(got.has_value()) << x << ' ' << y;
        const double ex = std::floor(q[6].x) + 0.5 + (x - 50) * (double{q[2].x} - q[6].x) / 924;
        const double ey = std::floor(q[6].y) + 0.5 + (y - 50) * (double{q[2].y} - q[6].y) / 668;
        worst = std::max(worst, std::hypot(got->x - ex, got->y - ey));
      }
    }
    EXPECT_LT(worst, 1e-3);
  }
}

// Points the fit cannot use give no keystone model, and the mapping is then the sector
// transform's, sample for sample; a usable model sends a sample without an inverse there too.
TEST(KeystoneExact, DegenerateCalibrationsFallBackToTheSectorTransform) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  Points centreOnTheRight = Measured(Trapezoid);
  centreOnTheRight[4] = centreOnTheRight[5];
  Points folded = Measured(Trapezoid);
  std::swap(folded[3], folded[5]);
  Points oneUnknown = Measured(Tilted);
  oneUnknown[7].x = nan;
  Points reversed = Measured(Tilted);
  std::swap(reversed[6], reversed[2]);
  const struct {
    const char* name;
    Points points;
    bool usable;
  } rows[] = {
      {"all on one spot", Points{}, false},
      {"all on one line", Points{{{0, 5}, {10, 5}, {20, 5}, {0, 5}, {10, 5}, {20, 5}, {0, 5},
                                  {10, 5}, {20, 5}}},
       false},
      {"a point not a number", oneUnknown, false},
      {"top-left and bottom-right swapped", reversed, false},
      {"the centre on the right mid point", centreOnTheRight, false},
      {"left and right swapped in the middle row", folded, false},
      {"a trapezoid", Measured(Trapezoid), true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    CalibrationModel keystone;
    CalibrationModel sector;
    BuildCalibrationModel(keystone, row.points);
    BuildCalibrationModel(sector, row.points);
    EXPECT_EQ(keystone.Keystone.Usable, row.usable);
    // A touch on the screen when usable, and one far off the board, where there is no inverse.
    for (const BoardPoint p : {BoardPoint{600, 450}, BoardPoint{-400000, 900000}}) {
      const ScreenPoint got = MapToScreen(p, keystone, 3, 4, Mapping::KeystoneExact);
      const ScreenPoint standard = MapToScreen(p, sector, 3, 4, Mapping::Standard);
      if (!row.usable || p.x < 0) {
        EXPECT_EQ(got, standard) << p.x;
      }
    }
  }
}

}  // namespace
}  // namespace raz
