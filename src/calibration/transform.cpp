#include "calibration/transform.h"

#include <cmath>

#include "base/numeric.h"

// The plane around the measured centre is cut into eight triangles, each bounded by the rays
// through the centre and two neighbouring measured points. Each triangle is turned so that
// its mid-edge point lies on its ideal axis, scaled so that point lands at the ideal
// distance, and sheared along that axis so that its corner lands on the ideal corner. The
// arithmetic runs in long double; a value is rounded only where the model stores a float or
// a double.

namespace raz {
namespace {

using Real = long double;

struct SectorShape {
  int group;          // axis group whose rotation and scale apply
  int corner;         // grid index of the corner the shear carries onto its ideal place
  bool verticalAxis;  // shear along the vertical axis (bottom and top) or the horizontal one
};

// Indexed by sector; entry 0 is the unclassified state.
constexpr std::array<SectorShape, 9> kSectors{{
    {0, 0, true},
    {0, 0, true},
    {0, 2, true},
    {1, 2, false},
    {1, 8, false},
    {2, 8, true},
    {2, 6, true},
    {3, 6, false},
    {3, 0, false},
}};

// Grid index of the mid-edge point of each axis group: bottom, right, top, left.
constexpr std::array<int, 4> kAxisPoint{1, 5, 7, 3};

// Sector tests in the order tried for each quadrant of the point.
constexpr std::array<std::array<int, 4>, 4> kQuadrantOrder{{
    {1, 2, 3, 4},  // x >= 0, y >= 0
    {2, 3, 4, 5},  // x >= 0, y < 0
    {7, 8, 1, 2},  // x < 0, y >= 0
    {5, 6, 7, 8},  // x < 0, y < 0
}};

constexpr Real kRayTolerance = 1e-5L;

// The turn must bring the group's axis point onto its ideal axis, so its direction depends
// on which side of that axis the point was measured.
bool PositiveRotation(const CalibrationModel& m, int group) {
  switch (group) {
    case 0: return m.P[1].x >= 0.0;
    case 1: return m.P[5].y <= 0.0;
    case 2: return m.P[7].x <= 0.0;
    default: return m.P[3].y >= 0.0;
  }
}

PointD RotateAndScale(const CalibrationModel& m, int group, PointD p) {
  const Real c = m.AxisCos[group];
  const Real s = m.AxisSin[group];
  const Real x = p.x;
  const Real y = p.y;
  PointD turned;
  if (PositiveRotation(m, group)) {
    turned = {static_cast<double>(x * c - y * s), static_cast<double>(x * s + y * c)};
  } else {
    turned = {static_cast<double>(x * c + y * s), static_cast<double>(-x * s + y * c)};
  }
  const Real scale = m.AxisScale[group];
  return {static_cast<double>(turned.x * scale), static_cast<double>(turned.y * scale)};
}

// Keeps the sector's axis line fixed and moves the corner image onto the ideal corner.
PointD Shear(const CalibrationModel& m, const SectorShape& shape, PointD p) {
  const PointD& ideal = m.T[shape.corner];
  const Real x = p.x;
  const Real y = p.y;
  if (shape.verticalAxis) {
    const PointD& a = m.CornerA[shape.corner];
    return {static_cast<double>(x * ideal.x / a.x),
            static_cast<double>(y + x * (Real{ideal.y} - a.y) / a.x)};
  }
  const PointD& b = m.CornerB[shape.corner];
  return {static_cast<double>(x + y * (Real{ideal.x} - b.x) / b.y),
          static_cast<double>(y * ideal.y / b.y)};
}

PointD WithoutCentreOffsetF(const CalibrationModel& m, PointD p) {
  return {static_cast<double>(Real{p.x} - m.CentreOffsetFX),
          static_cast<double>(Real{p.y} - m.CentreOffsetFY)};
}

float Quotient(Real numerator, Real denominator) {
  return static_cast<float>(numerator / denominator);
}

// Anchored on the measured top-left point; the bottom-right point is taken as measured.
std::array<PointD, 9> IdealGrid(const std::array<PointD, 9>& q, std::int32_t gridWidth,
                                std::int32_t gridHeight) {
  const Real x0 = q[6].x;
  const Real y0 = q[6].y;
  const std::int32_t hw = gridWidth / 2;
  const std::int32_t hh = gridHeight / 2;
  const auto at = [](Real x, Real y) {
    return PointD{static_cast<double>(x), static_cast<double>(y)};
  };
  std::array<PointD, 9> g;
  g[6] = q[6];
  g[2] = q[2];
  g[0] = at(x0, y0 + gridHeight);
  g[1] = at(x0 + hw, y0 + gridHeight);
  g[3] = at(x0, y0 + hh);
  g[4] = at(x0 + hw, y0 + hh);
  g[5] = at(x0 + gridWidth, y0 + hh);
  g[7] = at(x0 + hw, y0);
  g[8] = at(x0 + gridWidth, y0);
  return g;
}

void BuildSlopes(CalibrationModel& m) {
  for (int k : {0, 2, 3, 5, 6, 8}) m.SlopeY[k] = Quotient(m.P[k].y, m.P[k].x);
  for (int k : {0, 1, 2, 6, 7, 8}) m.SlopeX[k] = Quotient(m.P[k].x, -Real{m.P[k].y});
}

void BuildAxisGroups(CalibrationModel& m) {
  for (int g = 0; g < 4; ++g) {
    const PointD& a = m.P[kAxisPoint[g]];
    const Real ax = a.x;
    const Real ay = a.y;
    const float r = static_cast<float>(std::sqrt(ax * ax + ay * ay));
    m.AxisLength[g] = r;
    const bool vertical = g == 0 || g == 2;
    const Real span = vertical ? m.GridHeight : m.GridWidth;
    m.AxisScale[g] = Quotient(span, 2.0L * r);
    m.AxisCos[g] = std::fabs(Quotient(vertical ? ay : ax, r));
    m.AxisSin[g] = std::fabs(Quotient(vertical ? ax : ay, r));
  }
}

// Each corner belongs to two sectors; its image under each is what the shear corrects.
void BuildCornerImages(CalibrationModel& m) {
  struct CornerCopy {
    int corner;
    int sectorA;
    int sectorB;
  };
  for (const CornerCopy c : {CornerCopy{0, 1, 8}, CornerCopy{2, 2, 3}, CornerCopy{6, 6, 7},
                             CornerCopy{8, 5, 4}}) {
    m.CornerA[c.corner] = RotateAndScale(m, kSectors[c.sectorA].group,
                                         WithoutCentreOffsetF(m, m.CornerA[c.corner]));
    m.CornerB[c.corner] = RotateAndScale(m, kSectors[c.sectorB].group,
                                         WithoutCentreOffsetF(m, m.CornerB[c.corner]));
  }
}

Real AcrossRayX(const CalibrationModel& m, int k, Real x, Real y) { return x + m.SlopeX[k] * y; }
Real AcrossRayY(const CalibrationModel& m, int k, Real x, Real y) { return y - m.SlopeY[k] * x; }

int Quadrant(double x, double y) {
  if (x >= 0.0) return y >= 0.0 ? 0 : 1;
  return y >= 0.0 ? 2 : 3;
}

}  // namespace

void BuildCalibrationModel(CalibrationModel& m,
                           const std::array<PointF, kCalibrationPointCount>& points) {
  std::array<PointD, 9> q;
  for (int k = 0; k < 9; ++k) q[k] = {points[k].x, points[k].y};

  m.GridWidth = TruncToInt(std::fabs(Real{q[2].x} - q[6].x));
  m.GridHeight = TruncToInt(std::fabs(Real{q[2].y} - q[6].y));
  const std::array<PointD, 9> g = IdealGrid(q, m.GridWidth, m.GridHeight);
  const PointD c = g[4];
  m.IdealCentre = c;

  for (PointD& p : q) {
    p = {static_cast<double>(Real{p.x} - c.x), static_cast<double>(Real{p.y} - c.y)};
  }
  const PointD d = q[4];
  m.CentreOffset = d;
  m.CentreOffsetFX = static_cast<float>(d.x);
  m.CentreOffsetFY = static_cast<float>(d.y);
  for (int k : {0, 2, 6, 8}) m.CornerA[k] = m.CornerB[k] = q[k];
  for (int k = 0; k < 9; ++k) {
    m.T[k] = {static_cast<double>(Real{g[k].x} - c.x), static_cast<double>(Real{g[k].y} - c.y)};
    m.P[k] = {static_cast<double>(Real{q[k].x} - d.x), static_cast<double>(Real{q[k].y} - d.y)};
  }

  BuildSlopes(m);
  BuildAxisGroups(m);
  BuildCornerImages(m);
  m.Keystone = BuildKeystoneModel(points);
}

bool SectorTestHolds(const CalibrationModel& m, int sector, double qx, double qy) {
  const Real x = qx;
  const Real y = qy;
  const Real e = kRayTolerance;
  switch (sector) {
    case 1: return AcrossRayX(m, 0, x, y) > 0 && AcrossRayX(m, 1, x, y) <= e;
    case 2: return AcrossRayX(m, 2, x, y) <= e && AcrossRayX(m, 1, x, y) > 0;
    case 3: return AcrossRayY(m, 2, x, y) < 0 && AcrossRayY(m, 5, x, y) >= -e;
    case 4: return AcrossRayY(m, 8, x, y) >= -e && AcrossRayY(m, 5, x, y) < 0;
    case 5: return AcrossRayX(m, 8, x, y) < 0 && AcrossRayX(m, 7, x, y) >= -e;
    case 6: return AcrossRayX(m, 6, x, y) >= -e && AcrossRayX(m, 7, x, y) < 0;
    case 7: return AcrossRayY(m, 6, x, y) > 0 && AcrossRayY(m, 3, x, y) <= e;
    case 8: return AcrossRayY(m, 0, x, y) <= e && AcrossRayY(m, 3, x, y) > 0;
    default: return false;
  }
}

void ClassifySector(CalibrationModel& m, double qx, double qy) {
  for (int sector : kQuadrantOrder[Quadrant(qx, qy)]) {
    if (SectorTestHolds(m, sector, qx, qy)) {
      m.Sector = sector;
      return;
    }
  }
}

PointD MapInSector(const CalibrationModel& m, int sector, PointD point) {
  const SectorShape& shape = kSectors[sector];
  const PointD& c = m.IdealCentre;
  PointD p{static_cast<double>(Real{point.x} - c.x), static_cast<double>(Real{point.y} - c.y)};
  p = WithoutCentreOffsetF(m, p);
  p = RotateAndScale(m, shape.group, p);
  p = Shear(m, shape, p);
  return {static_cast<double>(Real{p.x} + c.x), static_cast<double>(Real{p.y} + c.y)};
}

PointD MapUnshifted(PointD board, CalibrationModel& m, Mapping mapping) {
  const PointD p{static_cast<double>(Real{board.x} - m.IdealCentre.x),
                 static_cast<double>(Real{board.y} - m.IdealCentre.y)};
  ClassifySector(m, static_cast<double>(Real{p.x} - m.CentreOffset.x),
                 static_cast<double>(Real{p.y} - m.CentreOffset.y));
  if (mapping == Mapping::KeystoneExact) {
    if (const auto exact = MapKeystoneExact(m.Keystone, board)) return *exact;
  }
  // Before any sample has found a sector there is no shape to apply: the point only moves
  // by the screen offset.
  return m.Sector == 0 ? board : MapInSector(m, m.Sector, board);
}

namespace {

struct RealPoint {
  Real x;
  Real y;
};

RealPoint MapToRealPixels(BoardPoint point, CalibrationModel& m, std::int32_t screenOffsetX,
                          std::int32_t screenOffsetY, Mapping mapping) {
  const PointD mapped =
      MapUnshifted({static_cast<double>(point.x), static_cast<double>(point.y)}, m, mapping);
  return {Real{mapped.x} - screenOffsetX, Real{mapped.y} - screenOffsetY};
}

}  // namespace

ScreenPoint MapToScreen(BoardPoint point, CalibrationModel& m, std::int32_t screenOffsetX,
                        std::int32_t screenOffsetY, Mapping mapping) {
  const RealPoint r = MapToRealPixels(point, m, screenOffsetX, screenOffsetY, mapping);
  return {TruncToInt(r.x), TruncToInt(r.y)};
}

PointD MapToTourPixels(BoardPoint point, CalibrationModel& m, std::int32_t screenOffsetX,
                       std::int32_t screenOffsetY, Mapping mapping) {
  const RealPoint r = MapToRealPixels(point, m, screenOffsetX, screenOffsetY, mapping);
  return {static_cast<double>(r.x), static_cast<double>(r.y)};
}

}  // namespace raz
