#include "sim/projection.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace raz::sim {
namespace {

constexpr double kMaxKeystone = 0.45;
constexpr double kMinExtent = 1e-6;

}  // namespace

Projection::Projection(ProjectionConfig config) : config_(config) {
  // Degenerate sizes would make the inverse divide by zero; a tiny extent keeps it defined.
  config_.screenWidth = std::max<std::int32_t>(config_.screenWidth, 1);
  config_.screenHeight = std::max<std::int32_t>(config_.screenHeight, 1);
  if (!(std::abs(config_.widthCells) >= kMinExtent)) config_.widthCells = kMinExtent;
  if (!(std::abs(config_.heightCells) >= kMinExtent)) config_.heightCells = kMinExtent;
  if (!std::isfinite(config_.keystone)) config_.keystone = 0.0;
  config_.keystone = std::clamp(config_.keystone, -kMaxKeystone, kMaxKeystone);
  const double radians = config_.rotationDegrees * std::numbers::pi / 180.0;
  cos_ = std::cos(radians);
  sin_ = std::sin(radians);
}

CellPoint Projection::ToBoard(PixelPoint pixel) const {
  const double a = pixel.x / config_.screenWidth - 0.5;
  const double b = pixel.y / config_.screenHeight - 0.5;
  const double dx = a * (1.0 + 2.0 * config_.keystone * b) * config_.widthCells;
  const double dy = b * config_.heightCells;
  return {config_.centre.x + dx * cos_ - dy * sin_, config_.centre.y + dx * sin_ + dy * cos_};
}

PixelPoint Projection::ToScreen(CellPoint board) const {
  const double rx = board.x - config_.centre.x;
  const double ry = board.y - config_.centre.y;
  const double dx = rx * cos_ + ry * sin_;
  const double dy = -rx * sin_ + ry * cos_;
  const double b = dy / config_.heightCells;
  // Far outside the screen the keystone factor can reach zero; the image has no point there.
  const double stretch = std::max(1.0 + 2.0 * config_.keystone * b, kMinExtent);
  const double a = dx / (config_.widthCells * stretch);
  return {(a + 0.5) * config_.screenWidth, (b + 0.5) * config_.screenHeight};
}

}  // namespace raz::sim
