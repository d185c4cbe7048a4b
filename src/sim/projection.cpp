#include "sim/projection.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace raz::sim {
namespace {

constexpr double kMaxKeystone = 0.45;
constexpr double kMaxBarrel = 0.2;
constexpr double kMinExtent = 1e-6;
constexpr int kInverseSteps = 30;

}  // namespace

Projection::Projection(ProjectionConfig config) : config_(config) {
  // Degenerate sizes would make the inverse divide by zero; a tiny extent keeps it defined.
  config_.screenWidth = std::max<std::int32_t>(config_.screenWidth, 1);
  config_.screenHeight = std::max<std::int32_t>(config_.screenHeight, 1);
  if (!(std::abs(config_.widthCells) >= kMinExtent)) config_.widthCells = kMinExtent;
  if (!(std::abs(config_.heightCells) >= kMinExtent)) config_.heightCells = kMinExtent;
  if (!std::isfinite(config_.keystone)) config_.keystone = 0.0;
  config_.keystone = std::clamp(config_.keystone, -kMaxKeystone, kMaxKeystone);
  if (!std::isfinite(config_.keystoneX)) config_.keystoneX = 0.0;
  config_.keystoneX = std::clamp(config_.keystoneX, -kMaxKeystone, kMaxKeystone);
  if (!std::isfinite(config_.barrel)) config_.barrel = 0.0;
  config_.barrel = std::clamp(config_.barrel, -kMaxBarrel, kMaxBarrel);
  const double radians = config_.rotationDegrees * std::numbers::pi / 180.0;
  cos_ = std::cos(radians);
  sin_ = std::sin(radians);
}

CellPoint Projection::Distort(double a, double b) const {
  const double lens = 1.0 - config_.barrel * (a * a + b * b);
  a *= lens;
  b *= lens;
  return {a * (1.0 + 2.0 * config_.keystone * b) * config_.widthCells,
          b * (1.0 + 2.0 * config_.keystoneX * a) * config_.heightCells};
}

CellPoint Projection::ToBoard(PixelPoint pixel) const {
  const double a = pixel.x / config_.screenWidth - 0.5;
  const double b = pixel.y / config_.screenHeight - 0.5;
  const CellPoint d = Distort(a, b);
  return {config_.centre.x + d.x * cos_ - d.y * sin_, config_.centre.y + d.x * sin_ + d.y * cos_};
}

PixelPoint Projection::ToScreen(CellPoint board) const {
  const double rx = board.x - config_.centre.x;
  const double ry = board.y - config_.centre.y;
  const double dx = rx * cos_ + ry * sin_;
  const double dy = -rx * sin_ + ry * cos_;
  double b = dy / config_.heightCells;
  // Far outside the screen the keystone factor can reach zero; the image has no point there.
  const double stretch = std::max(1.0 + 2.0 * config_.keystone * b, kMinExtent);
  double a = dx / (config_.widthCells * stretch);
  // Along one axis the keystone has that closed inverse; the other axis and the lens are
  // undone by Newton's method from there.
  if (config_.keystoneX != 0.0 || config_.barrel != 0.0) {
    constexpr double h = 1e-7;
    for (int step = 0; step < kInverseSteps; ++step) {
      const CellPoint f = Distort(a, b);
      const CellPoint fa = Distort(a + h, b);
      const CellPoint fb = Distort(a, b + h);
      const double j11 = (fa.x - f.x) / h, j21 = (fa.y - f.y) / h;
      const double j12 = (fb.x - f.x) / h, j22 = (fb.y - f.y) / h;
      const double det = j11 * j22 - j12 * j21;
      if (!(std::abs(det) > 0.0)) break;
      const double ex = f.x - dx;
      const double ey = f.y - dy;
      a -= (j22 * ex - j12 * ey) / det;
      b -= (j11 * ey - j21 * ex) / det;
    }
  }
  return {(a + 0.5) * config_.screenWidth, (b + 0.5) * config_.screenHeight};
}

}  // namespace raz::sim
