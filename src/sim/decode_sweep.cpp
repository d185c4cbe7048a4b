#include "sim/decode_sweep.h"

#include <cmath>
#include <memory>

#include "app/driver_state.h"
#include "app/form1.h"
#include "board/report_decoder.h"
#include "platform/headless/headless_devices.h"
#include "platform/headless/headless_files.h"
#include "platform/headless/headless_host.h"
#include "platform/headless/headless_profile.h"
#include "sim/sim_board.h"

namespace raz::sim {
namespace {

// The pen the rig has placed; the board reads it for every report.
class PlacedPen : public PenSource {
 public:
  PenState PenAt(std::uint64_t) const override { return pen; }
  PenState pen;
};

BoardPoint Place(const SweepOptions& options, double position) {
  return options.axis == Axis::X ? BoardPoint{position, options.otherPosition}
                                 : BoardPoint{options.otherPosition, position};
}

}  // namespace

struct ReaderRig::Parts {
  explicit Parts(const BoardModelConfig& model) : board(clock, SimBoardConfig{.model = model}) {}

  VirtualClock clock;
  PlacedPen pen;
  SimBoard board;
  HeadlessFiles files{"sweep"};
  HeadlessProfile profile;
  HeadlessDisplay display{1024, 768};
  HeadlessMouseOutput mouse;
  HeadlessMessenger messenger;
  HeadlessShell shell;
  Platform platform{files, profile, display, board, mouse, messenger, shell};
  std::unique_ptr<DriverState> state = std::make_unique<DriverState>();
  TForm1 form{*state, platform};
};

ReaderRig::ReaderRig(const BoardModelConfig& model, bool learnSpans)
    : parts_(std::make_unique<Parts>(model)) {
  parts_->board.SetPenSource(&parts_->pen);
  DriverState& state = *parts_->state;
  state.settings.PenTouchLimit = model.status.penTouchLimit;
  state.settings.PenRightCentre = model.status.penRightCentre;
  state.interpolation.SpanTracking = learnSpans ? 1 : 0;
  state.tour.CalibrationActive = 1;
  parts_->board.OpenDevice(0, state.link.BoardLink);
}

ReaderRig::~ReaderRig() = default;

const DriverState& ReaderRig::Decode(const PenState& pen) {
  parts_->pen.pen = pen;
  parts_->clock.Set(parts_->clock.NowMicros() + 1'000'000 / parts_->board.ReportRate());
  ReadAndDecodeReports(parts_->form);
  return *parts_->state;
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
    const DriverState& state = rig.Decode({PenContact::Touch, Place(options, position), 1.0});
    const bool onX = options.axis == Axis::X;
    const AxisWork& work = onX ? state.decoder.X : state.decoder.Y;
    const float decoded =
        onX ? state.interpolation.CalibrationSampleX : state.interpolation.CalibrationSampleY;
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
