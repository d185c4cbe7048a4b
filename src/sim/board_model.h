#pragma once
// The board's sensor model. A pen at position x couples into every cell of the axis with
// f(d) = 1 / (1 + d²), d being the distance in cells from the cell's centre (cell k is centred
// at k - 0.5). Each sensor line adds up the cells wired to it through the position code's cell
// table; its level is that sum times the pen's peak, plus optional Gaussian noise, rounded and
// clamped to a byte.
#include <cstdint>

#include "sim/pen_code.h"
#include "sim/pen_state.h"
#include "sim/report_bytes.h"

namespace raz::sim {

inline constexpr int kCellsPerAxis = 147;
inline constexpr double kFirstValidPosition = 0.5;
inline constexpr double kLastValidPosition = 146.5;

struct BoardModelConfig {
  double touchPeak = 223.0;  // peak of a pen pressed at normal pressure (also right button)
  double hoverPeak = 140.0;
  double nearPeak = 60.0;
  double noiseSigma = 0.0;  // per sensor and report, in level units
  std::uint64_t noiseSeed = 1;
  StatusEncoding status{};
};

enum class Axis { X, Y };

double Coupling(double distanceCells);

// Noise-free levels of the 21 sensors of one axis for a pen at the given position.
SensorRow AxisLevels(double position, double peak);

class BoardModel {
 public:
  explicit BoardModel(BoardModelConfig config = {}) : config_(config) {}

  // The report the board sends for this pen. The noise of a report depends only on the seed
  // and the report's index, so a replay gives the same bytes however it is polled.
  PlainReport Report(const PenState& pen, std::uint64_t reportIndex) const;

  // The levels of one axis as they appear in report reportIndex; peak 0 gives noise only.
  SensorRow Levels(Axis axis, double position, double peak, std::uint64_t reportIndex) const;

  // Coupling peak of the pen, 0 when no pen is in range.
  double PeakFor(const PenState& pen) const;

  // The status bytes of the pen; a state the settings cannot express reads as "no pen".
  StatusBytes StatusFor(const PenState& pen) const;

  const BoardModelConfig& config() const { return config_; }

 private:
  double Noise(Axis axis, int sensor, std::uint64_t reportIndex) const;

  BoardModelConfig config_;
};

}  // namespace raz::sim
