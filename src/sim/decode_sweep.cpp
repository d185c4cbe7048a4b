#include "sim/decode_sweep.h"

#include <cmath>
#include <memory>

#include "board/interpolation.h"
#include "board/report_decoder.h"

namespace raz::sim {
namespace {

CellPoint Place(const SweepOptions& options, double position) {
  return options.axis == Axis::X ? CellPoint{position, options.otherPosition}
                                 : CellPoint{options.otherPosition, position};
}

}  // namespace

ReaderRig::ReaderRig(const BoardModelConfig& model, bool learnSpans)
    : model_(model), pen_{model.status.penTouchLimit, model.status.penRightCentre} {
  interpolation_.SpanTracking = learnSpans;
}

void ReaderRig::Decode(const PenState& pen) {
  // A plain report's byte k lands in slot k + 1.
  const PlainReport report = model_.Report(pen, reportIndex_++);
  for (std::size_t k = 0; k < report.size(); ++k) store_[k + 1] = report[k];
  const DecodeResult decoded = DecodeReport(store_, pen_, decoder_);
  if (decoded.RowsDecoded) {
    InterpolatePosition(decoded.Reading, {keys_, 0.0f, 0.0f, /*Calibrating=*/true}, interpolation_);
  }
}

std::vector<SweepSample> RunDecodeSweep(const SweepOptions& options) {
  ReaderRig rig(options.model, options.learnSpans);
  // The reader judges a report's status by the previous report's signal, so the first report
  // only primes it.
  rig.Decode({PenContact::Touch, Place(options, options.from), 1.0});
  std::vector<SweepSample> samples;
  const auto steps =
      static_cast<long>(std::floor((options.to - options.from) / options.step + 1e-9));
  for (long i = 0; i <= steps; ++i) {
    const double position = options.from + static_cast<double>(i) * options.step;
    rig.Decode({PenContact::Touch, Place(options, position), 1.0});
    const bool onX = options.axis == Axis::X;
    const AxisWork& work = onX ? rig.decoder().X : rig.decoder().Y;
    const float decoded =
        onX ? rig.interpolation().CalibrationSampleX : rig.interpolation().CalibrationSampleY;
    samples.push_back({position, decoded, work.Block == 0, work.Anchor, work.Top[0], work.Top[1]});
  }
  return samples;
}

SweepSummary Summarise(const std::vector<SweepSample>& samples, double from, double to) {
  SweepSummary summary;
  double sumSquares = 0.0;
  for (const SweepSample& sample : samples) {
    if (from <= to && (sample.position < from || sample.position > to)) continue;
    ++summary.samples;
    if (sample.rejected) {
      if (summary.rejected == 0) summary.firstRejected = sample.position;
      summary.lastRejected = sample.position;
      ++summary.rejected;
      continue;
    }
    const double error = std::abs(sample.decoded - kRawUnitsPerCell * sample.position);
    sumSquares += error * error;
    if (error > summary.maxError) {
      summary.maxError = error;
      summary.worstPosition = sample.position;
    }
  }
  const std::size_t accepted = summary.samples - summary.rejected;
  summary.rmsError = accepted == 0 ? 0.0 : std::sqrt(sumSquares / double(accepted));
  return summary;
}

}  // namespace raz::sim
