#include "sim/decode_sweep.h"

#include <gtest/gtest.h>

#include "app/driver_state.h"

namespace raz::sim {
namespace {

// The outermost half cell at each end has no neighbours beyond it; it is bounded separately.
constexpr double kInnerFrom = 1.0;
constexpr double kInnerTo = 146.0;

std::string Name(Axis axis, bool learn, double noise) {
  return std::string(axis == Axis::X ? "X" : "Y") + (learn ? " learned" : " fixed") + " noise " +
         std::to_string(noise);
}

// Bounds sit about ten per cent above what the sweep measured when they were set: fixed
// spans 0.400 max and 0.154 RMS inside, learned spans 1.027 and 0.354, 3.82 at the very ends.
TEST(DecodeSweep, DecodedPositionTracksThePenAcrossTheAxis) {
  struct Row {
    Axis axis;
    bool learn;
    double noise;
    double innerMax;
    double innerRms;
    double endMax;
    double rejectedShare;
  };
  const Row rows[] = {
      {Axis::X, false, 0.0, 0.45, 0.17, 4.2, 0.0040}, {Axis::X, true, 0.0, 1.15, 0.39, 4.2, 0.0040},
      {Axis::Y, false, 0.0, 0.45, 0.17, 4.2, 0.0040}, {Axis::Y, true, 0.0, 1.15, 0.39, 4.2, 0.0040},
      {Axis::X, false, 1.0, 1.0, 0.23, 4.3, 0.0045},  {Axis::Y, true, 1.0, 1.6, 0.43, 4.3, 0.0045},
  };
  for (const Row& row : rows) {
    SweepOptions options;
    options.axis = row.axis;
    options.learnSpans = row.learn;
    options.model.noiseSigma = row.noise;
    const auto samples = RunDecodeSweep(options);
    const SweepSummary all = Summarise(samples);
    const SweepSummary inner = Summarise(samples, kInnerFrom, kInnerTo);
    const std::string name = Name(row.axis, row.learn, row.noise);
    EXPECT_EQ(all.samples, 14601u) << name;
    EXPECT_LE(inner.maxError, row.innerMax) << name << " worst at " << inner.worstPosition;
    EXPECT_LE(inner.rmsError, row.innerRms) << name;
    EXPECT_LE(all.maxError, row.endMax) << name << " worst at " << all.worstPosition;
    EXPECT_LE(all.RejectedFraction(), row.rejectedShare) << name;
  }
}

// Without noise the only rows the decoder cannot place are those its exception table refuses:
// just left of cell 6 the ranking is anchor 7, T1 18, T2 7, which it declares ambiguous.
TEST(DecodeSweep, OnlyTheAnchorSevenExceptionRejectsANoiseFreePen) {
  for (const Axis axis : {Axis::X, Axis::Y}) {
    SweepOptions options;
    options.axis = axis;
    std::size_t rejected = 0;
    for (const SweepSample& sample : RunDecodeSweep(options)) {
      if (!sample.rejected) continue;
      ++rejected;
      const std::string where =
          std::string(axis == Axis::X ? "X" : "Y") + " at " + std::to_string(sample.position);
      EXPECT_GE(sample.position, 5.5) << where;
      EXPECT_LE(sample.position, 6.0) << where;
      EXPECT_EQ(sample.anchor, 7) << where;
      EXPECT_EQ(sample.top1, 18) << where;
      EXPECT_EQ(sample.top2, 7) << where;
    }
    EXPECT_GT(rejected, 0u) << "the exception row should be reached on this axis";
  }
}

// The status bytes the simulator picks read back, through the driver's own reader, as the
// state the pen is in.
TEST(ReaderRig, EveryPenStateReadsBackAsItsStatus) {
  struct Row {
    BoardKind kind;
    std::int32_t touchLimit;
    std::int32_t rightCentre;
    PenContact contact;
    std::int32_t status;
  };
  const Row rows[] = {
      {BoardKind::Mixed, 0, 0, PenContact::Touch, PenStatusCode::Touch},
      {BoardKind::Mixed, 0, 0, PenContact::Hover, PenStatusCode::Hover},
      {BoardKind::Mixed, 0, 0, PenContact::RightButton, PenStatusCode::RightButton},
      {BoardKind::Mixed, 0, 0, PenContact::Near, PenStatusCode::NoPen},
      {BoardKind::TypeTwo, 10, 60, PenContact::Touch, PenStatusCode::Touch},
      {BoardKind::TypeTwo, 10, 60, PenContact::Hover, PenStatusCode::Hover},
      {BoardKind::TypeTwo, 10, 60, PenContact::RightButton, PenStatusCode::RightButton},
      {BoardKind::TypeTwo, 10, 60, PenContact::Near, PenStatusCode::NoPen},
      {BoardKind::TypeOne, 0, 0, PenContact::Touch, PenStatusCode::Touch},
      {BoardKind::TypeOne, 0, 0, PenContact::Near, PenStatusCode::NoPen},
  };
  for (const Row& row : rows) {
    BoardModelConfig model;
    model.status = {row.kind, row.touchLimit, row.rightCentre};
    ReaderRig rig(model);
    const PenState pen{row.contact, {71.3, 40.2}, 1.0};
    rig.Decode(pen);  // the status of a report is judged by the previous report's signal
    const DriverState& state = rig.Decode(pen);
    EXPECT_EQ(state.sample.PenStatus, row.status)
        << "kind " << static_cast<int>(row.kind) << " Pen " << row.touchLimit << " PenRight "
        << row.rightCentre << " contact " << static_cast<int>(row.contact);
  }
}

TEST(ReaderRig, NoPenSendsRowsTheReaderTreatsAsEmpty) {
  ReaderRig rig(BoardModelConfig{});
  rig.Decode({PenContact::Touch, {71.3, 71.3}, 1.0});
  const DriverState& touched = rig.Decode({PenContact::Touch, {71.3, 71.3}, 1.0});
  const float held = touched.interpolation.CalibrationSampleX;
  const DriverState& state = rig.Decode(PenState{});
  EXPECT_EQ(state.sample.PenStatus, PenStatusCode::NoPen);
  EXPECT_EQ(state.decoder.X.SortedLevels.back(), 0);
  EXPECT_EQ(state.interpolation.CalibrationSampleX, held) << "an empty X row moves nothing";
}

}  // namespace
}  // namespace raz::sim
