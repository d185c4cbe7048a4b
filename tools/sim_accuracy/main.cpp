// Prints how well the driver's decoder recovers the simulated pen position along each axis:
// maximum and RMS error in raw units (20 per cell) and the share of rejected reports, with the
// spans fixed at 110 and with span learning, without and with sensor noise.
#include <cstdio>
#include <initializer_list>
#include <map>
#include <tuple>

#include "sim/decode_sweep.h"

namespace {

using raz::sim::Axis;
using raz::sim::SweepOptions;
using raz::sim::SweepSample;
using raz::sim::SweepSummary;

// The outermost half cell of each end has no neighbours beyond it and decodes worse.
constexpr double kInnerFrom = 1.0;
constexpr double kInnerTo = 146.0;

void PrintRejections(const std::vector<SweepSample>& samples) {
  std::map<std::tuple<int, int, int>, int> causes;
  for (const SweepSample& sample : samples) {
    if (sample.rejected) ++causes[{sample.anchor, sample.top1, sample.top2}];
  }
  for (const auto& [cause, count] : causes) {
    std::printf("        %d rejected with anchor %d, T1 %d, T2 %d\n", count, std::get<0>(cause),
                std::get<1>(cause), std::get<2>(cause));
  }
}

void PrintRow(const SweepOptions& options) {
  const auto samples = raz::sim::RunDecodeSweep(options);
  const SweepSummary all = raz::sim::Summarise(samples);
  const SweepSummary inner = raz::sim::Summarise(samples, kInnerFrom, kInnerTo);
  std::printf("%-4s %-8s %5.1f %7zu %8.3f %8.3f %9.3f %8.3f %8.2f%%",
              options.axis == Axis::X ? "X" : "Y", options.learnSpans ? "learned" : "fixed",
              options.model.noiseSigma, all.samples, all.maxError, all.rmsError, inner.maxError,
              inner.rmsError, 100.0 * all.RejectedFraction());
  if (all.rejected > 0) {
    std::printf("  in %.2f..%.2f", all.firstRejected, all.lastRejected);
  }
  std::printf("\n");
  if (options.model.noiseSigma == 0.0) PrintRejections(samples);
}

}  // namespace

int main() {
  std::printf(
      "Pen swept over 0.5..146.5 cells in steps of 0.01 (other axis at 71.3), one report per\n"
      "position from the board model, decoded by DecodeReport and InterpolatePosition; errors of\n"
      "the raw position (CalibrationSampleX/Y) against 20 * x, over accepted reports. 'inner' leaves\n"
      "out the outermost half cell at each end (1.0..146.0).\n\n");
  std::printf("%-4s %-8s %5s %7s %8s %8s %9s %8s %9s\n", "axis", "spans", "noise", "reports", "max",
              "RMS", "inner max", "inner RMS", "rejected");
  for (const double noise : {0.0, 1.0, 3.0}) {
    for (const Axis axis : {Axis::X, Axis::Y}) {
      for (const bool learn : {false, true}) {
        SweepOptions options;
        options.axis = axis;
        options.learnSpans = learn;
        options.model.noiseSigma = noise;
        PrintRow(options);
      }
    }
  }
  return 0;
}
