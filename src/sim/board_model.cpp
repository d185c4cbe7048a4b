#include "sim/board_model.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "base/numeric.h"
#include "board/cell_table.h"

namespace raz::sim {
namespace {

using CouplingSums = std::array<double, kSensorsPerRow + 1>;  // by sensor number, [0] unused

CouplingSums SumCoupling(double position) {
  CouplingSums sums{};
  for (int cell = 1; cell <= kCellsPerAxis; ++cell) {
    const double centre = cell - 0.5;
    sums[static_cast<std::size_t>(SensorAtCell(cell))] += Coupling(position - centre);
  }
  return sums;
}

std::uint8_t ToLevel(double value) {
  const double clamped = std::clamp(std::floor(value + 0.5), 0.0, 255.0);
  return static_cast<std::uint8_t>(TruncToInt(clamped));
}

std::uint64_t SplitMix(std::uint64_t value) {
  value += 0x9E3779B97F4A7C15ULL;
  value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ULL;
  value = (value ^ (value >> 27)) * 0x94D049BB133111EBULL;
  return value ^ (value >> 31);
}

// Strictly inside (0, 1), so the logarithm below stays finite.
double OpenUnit(std::uint64_t bits) { return (static_cast<double>(bits >> 11) + 0.5) * 0x1.0p-53; }

}  // namespace

double Coupling(double distanceCells) { return 1.0 / (1.0 + distanceCells * distanceCells); }

SensorRow AxisLevels(double position, double peak) {
  return BoardModel{}.Levels(Axis::X, position, peak, 0);
}

SensorRow BoardModel::Levels(Axis axis, double position, double peak,
                             std::uint64_t reportIndex) const {
  const CouplingSums sums = peak > 0.0 ? SumCoupling(position) : CouplingSums{};
  SensorRow row{};
  for (int sensor = 1; sensor <= kSensorsPerRow; ++sensor) {
    const double level = peak * sums[static_cast<std::size_t>(sensor)];
    row[static_cast<std::size_t>(sensor - 1)] = ToLevel(level + Noise(axis, sensor, reportIndex));
  }
  return row;
}

double BoardModel::PeakFor(const PenState& pen) const {
  double peak = 0.0;
  switch (pen.contact) {
    case PenContact::Touch:
    case PenContact::RightButton:
      peak = config_.touchPeak;
      break;
    case PenContact::Hover:
      peak = config_.hoverPeak;
      break;
    case PenContact::Near:
      peak = config_.nearPeak;
      break;
    case PenContact::Away:
      return 0.0;
  }
  return std::max(0.0, peak * pen.pressure);
}

StatusBytes BoardModel::StatusFor(const PenState& pen) const {
  const auto wanted = StatusBytesFor(WantedStatus(pen.contact), config_.status);
  if (wanted) return *wanted;
  // StatusBytesFor always finds bytes for "no pen".
  return StatusBytesFor(PenStatus::NoPen, config_.status).value_or(StatusBytes{});
}

PlainReport BoardModel::Report(const PenState& pen, std::uint64_t reportIndex) const {
  const double peak = PeakFor(pen);
  const SensorRow x = Levels(Axis::X, pen.position.x, peak, reportIndex);
  const SensorRow y = Levels(Axis::Y, pen.position.y, peak, reportIndex);
  return BuildPlainReport(StatusFor(pen), x, y);
}

double BoardModel::Noise(Axis axis, int sensor, std::uint64_t reportIndex) const {
  if (config_.noiseSigma <= 0.0) return 0.0;
  const std::uint64_t key =
      reportIndex * 64 + (axis == Axis::Y ? 32 : 0) + static_cast<std::uint64_t>(sensor);
  const std::uint64_t first = SplitMix(config_.noiseSeed ^ SplitMix(key));
  const std::uint64_t second = SplitMix(first);
  // Box-Muller: two independent uniforms give one standard normal value.
  const double radius = std::sqrt(-2.0 * std::log(OpenUnit(first)));
  return config_.noiseSigma * radius * std::cos(2.0 * std::numbers::pi * OpenUnit(second));
}

}  // namespace raz::sim
