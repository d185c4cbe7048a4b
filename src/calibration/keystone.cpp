#include "calibration/keystone.h"

#include <algorithm>
#include <cmath>

// A projector that is not square to the board stretches the picture's width with its height.
// The sector transform is linear inside each of its triangles and cannot follow that; this
// mapping describes the board as the picture of the screen under a map that holds any
// perspective (a homography) and any trapezoid whose rows stay evenly spaced (a bilinear map)
// at once. Nine points over-determine its ten numbers, so it is fitted by least squares; what
// the fit leaves at the nine points (the pen's own measuring error, a lens's bow) is spread
// bilinearly over each quadrant. Along a quadrant's edge that spread depends only on the edge's
// two ends, so the map is continuous, and it meets all nine points. A sample is mapped by
// solving the forward map for it with Newton's method from the sample itself: the normalised
// map is close to the identity, and three or four steps reach the last bit.

namespace raz {
namespace {

using Real = long double;

constexpr int kUnknowns = 10;
// Grid column (-1 left .. 1 right) and row (-1 top .. 1 bottom) of each grid index.
constexpr std::array<std::array<int, 2>, 9> kNode{
    {{-1, 1}, {0, 1}, {1, 1}, {-1, 0}, {0, 0}, {1, 0}, {-1, -1}, {0, -1}, {1, -1}}};

// The mapping must stay invertible without folding this far beyond the outer targets (half a
// grid cell: the screen's edges and the margins the pen reaches).
constexpr Real kCheckedReach = 1.5L;
constexpr int kCheckedSteps = 8;
// On the checked area the forward map keeps its denominator and its Jacobian (1 for a
// perfect calibration) clear of zero.
constexpr Real kLeastDenominator = 0.25L;
constexpr Real kLeastJacobian = 0.05L;
// Off the checked area a sample whose solution runs this far, or whose denominator gets
// this small, has no usable inverse: the sector transform maps it.
constexpr Real kFarthest = 4.0L;
constexpr Real kSmallestDenominator = 0.1L;
constexpr int kNewtonSteps = 24;
constexpr Real kConverged = 1e-13L;
constexpr Real kNodeTolerance = 1e-7L;

struct Vec {
  Real x = 0;
  Real y = 0;
};

int IndexOf(int column, int row) { return (1 - row) * 3 + column + 1; }

// Gaussian elimination with partial pivoting; false when the system is singular.
bool Solve(std::array<std::array<Real, kUnknowns + 1>, kUnknowns>& m,
           std::array<Real, kUnknowns>& z) {
  Real largest = 0;
  for (const auto& row : m) {
    for (int c = 0; c < kUnknowns; ++c) largest = std::max(largest, std::fabs(row[c]));
  }
  if (!(largest > 0)) return false;
  for (int i = 0; i < kUnknowns; ++i) {
    int pivot = i;
    for (int r = i + 1; r < kUnknowns; ++r) {
      if (std::fabs(m[r][i]) > std::fabs(m[pivot][i])) pivot = r;
    }
    if (!(std::fabs(m[pivot][i]) > largest * 1e-12L)) return false;
    std::swap(m[i], m[pivot]);
    for (int r = i + 1; r < kUnknowns; ++r) {
      const Real f = m[r][i] / m[i][i];
      for (int c = i; c <= kUnknowns; ++c) m[r][c] -= f * m[i][c];
    }
  }
  for (int i = kUnknowns - 1; i >= 0; --i) {
    Real sum = m[i][kUnknowns];
    for (int c = i + 1; c < kUnknowns; ++c) sum -= m[i][c] * z[c];
    z[i] = sum / m[i][i];
  }
  return true;
}

// Normal equations of x (1 + c1 u + c2 v) = a0 + a1 u + a2 v + a3 uv, and the same for y.
bool FitForward(const std::array<Vec, 9>& measured, std::array<double, kUnknowns>& fit) {
  std::array<std::array<Real, kUnknowns + 1>, kUnknowns> normal{};
  const auto add = [&normal](const std::array<Real, kUnknowns>& row, Real value) {
    for (int i = 0; i < kUnknowns; ++i) {
      for (int j = 0; j < kUnknowns; ++j) normal[i][j] += row[i] * row[j];
      normal[i][kUnknowns] += row[i] * value;
    }
  };
  for (int k = 0; k < 9; ++k) {
    const Real u = kNode[k][0];
    const Real v = kNode[k][1];
    const Vec& p = measured[k];
    add({1, u, v, u * v, 0, 0, 0, 0, -p.x * u, -p.x * v}, p.x);
    add({0, 0, 0, 0, 1, u, v, u * v, -p.y * u, -p.y * v}, p.y);
  }
  std::array<Real, kUnknowns> z{};
  if (!Solve(normal, z)) return false;
  for (int i = 0; i < kUnknowns; ++i) fit[i] = static_cast<double>(z[i]);
  return std::all_of(fit.begin(), fit.end(), [](double f) { return std::isfinite(f); });
}

// The forward map at (u, v) with its derivatives, residuals included.
struct Forward {
  Vec at;
  Vec du;
  Vec dv;
  Real denominator = 1;
};

Forward FittedPart(const std::array<double, kUnknowns>& f, Real u, Real v) {
  const Real d = 1 + f[8] * u + f[9] * v;
  const Real nx = f[0] + f[1] * u + f[2] * v + f[3] * u * v;
  const Real ny = f[4] + f[5] * u + f[6] * v + f[7] * u * v;
  const Vec at{nx / d, ny / d};
  // Quotient rule: (n' - at * d') / d.
  return {at,
          {(f[1] + f[3] * v - at.x * f[8]) / d, (f[5] + f[7] * v - at.y * f[8]) / d},
          {(f[2] + f[3] * u - at.x * f[9]) / d, (f[6] + f[7] * u - at.y * f[9]) / d},
          d};
}

// The residuals spread over the quadrant that holds (u, v), or over the nearest one beyond
// the outer targets.
Forward WithResiduals(const KeystoneModel& m, Forward f, Real u, Real v) {
  const int left = u < 0 ? -1 : 0;
  const int top = v < 0 ? -1 : 0;
  const Real s = u - left;
  const Real t = v - top;
  const PointD& e00 = m.Residual[IndexOf(left, top)];
  const PointD& e10 = m.Residual[IndexOf(left + 1, top)];
  const PointD& e01 = m.Residual[IndexOf(left, top + 1)];
  const PointD& e11 = m.Residual[IndexOf(left + 1, top + 1)];
  const auto blend = [&](double PointD::*axis) {
    const Real a = e00.*axis;
    const Real b = e10.*axis;
    const Real c = e01.*axis;
    const Real d = e11.*axis;
    return std::array<Real, 3>{a * (1 - s) * (1 - t) + b * s * (1 - t) + c * (1 - s) * t +
                                   d * s * t,
                               (1 - t) * (b - a) + t * (d - c), (1 - s) * (c - a) + s * (d - b)};
  };
  const auto bx = blend(&PointD::x);
  const auto by = blend(&PointD::y);
  f.at = {f.at.x + bx[0], f.at.y + by[0]};
  f.du = {f.du.x + bx[1], f.du.y + by[1]};
  f.dv = {f.dv.x + bx[2], f.dv.y + by[2]};
  return f;
}

Forward ForwardAt(const KeystoneModel& m, Real u, Real v) {
  return WithResiduals(m, FittedPart(m.Fit, u, v), u, v);
}

Real Jacobian(const Forward& f) { return f.du.x * f.dv.y - f.dv.x * f.du.y; }

// The grid position (u, v) whose forward image is the normalised board position p.
std::optional<Vec> Invert(const KeystoneModel& m, Vec p) {
  Vec g = p;
  for (int step = 0; step < kNewtonSteps; ++step) {
    const Forward f = ForwardAt(m, g.x, g.y);
    const Real det = Jacobian(f);
    if (!(f.denominator > kSmallestDenominator) || !(std::fabs(det) > 0)) return std::nullopt;
    const Real ex = f.at.x - p.x;
    const Real ey = f.at.y - p.y;
    const Vec move{(f.dv.y * ex - f.dv.x * ey) / det, (f.du.x * ey - f.du.y * ex) / det};
    g = {g.x - move.x, g.y - move.y};
    if (!std::isfinite(static_cast<double>(g.x)) || !std::isfinite(static_cast<double>(g.y)) ||
        std::fabs(g.x) > kFarthest || std::fabs(g.y) > kFarthest) {
      return std::nullopt;
    }
    if (std::fabs(move.x) + std::fabs(move.y) < kConverged) return g;
  }
  return std::nullopt;
}

Vec Normalised(const KeystoneModel& m, PointD board) {
  return {(Real{board.x} - m.Centre.x) / m.HalfWidth, (Real{board.y} - m.Centre.y) / m.HalfHeight};
}

// Neither folded nor torn anywhere the pen can reach, and every node found again.
bool Invertible(const KeystoneModel& m) {
  for (int i = 0; i <= kCheckedSteps; ++i) {
    for (int j = 0; j <= kCheckedSteps; ++j) {
      const Real u = -kCheckedReach + 2 * kCheckedReach * i / kCheckedSteps;
      const Real v = -kCheckedReach + 2 * kCheckedReach * j / kCheckedSteps;
      const Forward f = ForwardAt(m, u, v);
      if (!(f.denominator >= kLeastDenominator) || !(Jacobian(f) >= kLeastJacobian)) return false;
    }
  }
  for (int k = 0; k < 9; ++k) {
    const Forward node = ForwardAt(m, kNode[k][0], kNode[k][1]);
    const auto found = Invert(m, node.at);
    if (!found || std::fabs(found->x - kNode[k][0]) > kNodeTolerance ||
        std::fabs(found->y - kNode[k][1]) > kNodeTolerance) {
      return false;
    }
  }
  return true;
}

}  // namespace

Mapping MappingFromStored(std::int32_t stored) {
  return stored == StoredNumber(Mapping::KeystoneExact) ? Mapping::KeystoneExact
                                                        : Mapping::Standard;
}

KeystoneModel BuildKeystoneModel(const std::array<PointF, 9>& points) {
  KeystoneModel m;
  // The grid runs from the top-left point to the bottom-right one, as the tour's scales and
  // offsets place them.
  const PointF& topLeft = points[6];
  const PointF& bottomRight = points[2];
  m.HalfWidth = static_cast<double>((Real{bottomRight.x} - topLeft.x) / 2);
  m.HalfHeight = static_cast<double>((Real{bottomRight.y} - topLeft.y) / 2);
  m.Centre = {static_cast<double>(Real{topLeft.x} + m.HalfWidth),
              static_cast<double>(Real{topLeft.y} + m.HalfHeight)};
  if (!(m.HalfWidth >= 1.0) || !(m.HalfHeight >= 1.0) || !std::isfinite(m.HalfWidth) ||
      !std::isfinite(m.HalfHeight) || !std::isfinite(m.Centre.x) || !std::isfinite(m.Centre.y)) {
    return m;
  }
  std::array<Vec, 9> measured;
  for (int k = 0; k < 9; ++k) measured[k] = Normalised(m, {points[k].x, points[k].y});
  if (!FitForward(measured, m.Fit)) return m;
  // The user touched each cross at the centre of its pixel: the mapping puts each target
  // there, in the pixel the sector transform gives it, rather than where the top-left point's
  // fraction of a unit happens to fall.
  m.Centring = {0.5 - (topLeft.x - std::floor(topLeft.x)), 0.5 - (topLeft.y - std::floor(topLeft.y))};
  for (int k = 0; k < 9; ++k) {
    const Forward fitted = FittedPart(m.Fit, kNode[k][0], kNode[k][1]);
    m.Residual[k] = {static_cast<double>(measured[k].x - fitted.at.x),
                     static_cast<double>(measured[k].y - fitted.at.y)};
    if (!std::isfinite(m.Residual[k].x) || !std::isfinite(m.Residual[k].y)) return m;
  }
  m.Usable = Invertible(m);
  return m;
}

std::optional<PointD> MapKeystoneExact(const KeystoneModel& m, PointD board) {
  if (!m.Usable) return std::nullopt;
  const auto g = Invert(m, Normalised(m, board));
  if (!g) return std::nullopt;
  return PointD{static_cast<double>(m.Centre.x + m.Centring.x + g->x * m.HalfWidth),
                static_cast<double>(m.Centre.y + m.Centring.y + g->y * m.HalfHeight)};
}

}  // namespace raz
