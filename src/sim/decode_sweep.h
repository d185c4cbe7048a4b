#pragma once
// Measures the driver's decoder against the simulator: the pen walks one axis in small steps,
// the board model makes one report of each position, and the driver's own decoder and
// interpolation (DecodeReport, InterpolatePosition) turn it into a raw position. With a
// calibration running the interpolation keeps that position as a float (CalibrationSampleX/Y),
// so it can be compared with the truth, 20 raw units per cell.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "board/board_state.h"
#include "board/key_layout.h"
#include "sim/board_model.h"
#include "sim/pen_state.h"

namespace raz::sim {

// The driver's decoder and interpolation over reports of the board model, with nothing else
// of the driver around them. A calibration counts as running, so that the interpolation keeps
// the raw position.
class ReaderRig {
 public:
  explicit ReaderRig(const BoardModelConfig& model, bool learnSpans = true);

  // The board sends one report with this pen; the driver decodes it.
  void Decode(const PenState& pen);

  const DecoderState& decoder() const { return decoder_; }
  const InterpolationState& interpolation() const { return interpolation_; }

 private:
  BoardModel model_;
  PenSettings pen_;
  KeyLayout keys_;
  ReportSlots store_{};
  DecoderState decoder_;
  InterpolationState interpolation_;
  std::uint64_t reportIndex_ = 1;  // a board opened at time 0 sends its first report next
};

inline constexpr double kRawUnitsPerCell = 20.0;

struct SweepOptions {
  Axis axis = Axis::X;
  double from = kFirstValidPosition;
  double to = kLastValidPosition;
  double step = 0.01;
  double otherPosition = 71.3;  // where the pen stays on the other axis
  bool learnSpans = true;       // false: every span stays at its start value of 110
  BoardModelConfig model{};
};

struct SweepSample {
  double position = 0.0;    // true position in cells
  double decoded = 0.0;     // decoded raw position
  bool rejected = false;    // the decoder found no block for the swept axis
  std::int32_t anchor = 0;  // the swept axis's anchor sensor and two strongest sensors
  std::int32_t top1 = 0;
  std::int32_t top2 = 0;
};

struct SweepSummary {
  std::size_t samples = 0;
  std::size_t rejected = 0;
  double maxError = 0.0;  // over the samples that were not rejected, raw units
  double rmsError = 0.0;
  double worstPosition = 0.0;
  double firstRejected = 0.0;  // range of positions that were rejected, cells
  double lastRejected = 0.0;
  double RejectedFraction() const {
    return samples == 0 ? 0.0 : double(rejected) / double(samples);
  }
};

std::vector<SweepSample> RunDecodeSweep(const SweepOptions& options);

// Samples inside [from, to] only; from > to summarises everything.
SweepSummary Summarise(const std::vector<SweepSample>& samples, double from = 1.0, double to = 0.0);

}  // namespace raz::sim
