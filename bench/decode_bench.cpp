// Cost of one poll tick's report reading, decoding, interpolation and mapping, per report, and
// of the decoder alone.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "board/interpolation.h"
#include "board/report_decoder.h"
#include "board/report_reader.h"
#include "calibration/transform.h"
#include "calibration/usable_calibration.h"
#include "sim/capture_board.h"

namespace raz {
namespace {

// The worked example row: anchor 10, block 4, placed by the pair rule.
constexpr std::array<std::uint8_t, 21> kRow{6,  40, 4, 11,  10, 3,  54, 6, 8,   93, 3,
                                            28, 13, 6, 218, 6,  16, 21, 5, 138, 7};

std::vector<std::uint8_t> PlainTouchReport() {
  std::vector<std::uint8_t> bytes{0x02, 5};
  bytes.insert(bytes.end(), kRow.begin(), kRow.end());
  bytes.insert(bytes.end(), kRow.begin(), kRow.end());
  bytes.push_back(0x51);
  return bytes;
}

std::vector<std::uint8_t> FramedBatch() {
  std::vector<std::uint8_t> bytes(3, 0x11);
  bytes.push_back(0xFD);
  const auto report = PlainTouchReport();
  bytes.insert(bytes.end(), report.begin(), report.end());
  bytes.push_back(0xFE);
  bytes.resize(60, 0x11);
  return bytes;
}

// The stages of a poll tick up to the screen position: read, decode, interpolate, map. No
// form and no pen state machine: that is the whole tick's benchmark.
struct Rig {
  explicit Rig(std::vector<std::uint8_t> batch, ReportFraming framing)
      : usb({std::move(batch)}, /*loop=*/true), framing(framing) {
    ApplyStoredCalibration(calibration, DefaultCalibration(1920, 1080), 1920, 1080);
    calibration.Stored.CalibrationScaleX = 1.0f;
    calibration.Stored.CalibrationScaleY = 1.0f;
    usb.OpenDevice(0, link);
  }
  // Returns the mapped position, or a negative x when the report did not decode as a touch.
  ScreenPoint Tick() {
    ReadReports(usb, link, framing, *reader);
    return DecodeStored();
  }
  ScreenPoint DecodeStored() {
    const DecodeResult decoded = DecodeReport(reader->ReportStore, pen, decoder);
    const Interpolation at = InterpolatePosition(
        decoded.Reading,
        {keys, calibration.Stored.CalibrationScaleX, calibration.Stored.CalibrationScaleY, false},
        interpolation);
    if (decoded.Reading.Status != PenStatus::Touch || decoded.Reading.SampleRejected) {
      return {-1, -1};
    }
    return MapToScreen(at.Position, calibration.Model, 0, 0);
  }

  sim::CaptureBoard usb;
  UsbHandle link = 0;
  ReportFraming framing;
  std::unique_ptr<ReaderState> reader = std::make_unique<ReaderState>();
  PenSettings pen{10, 60};
  DecoderState decoder;
  KeyLayout keys;
  InterpolationState interpolation;
  CalibrationState calibration;
};

void RunTicks(benchmark::State& bench, Rig& rig) {
  // The first report after start-up is judged by a zero level and never reads as a touch.
  rig.Tick();
  ScreenPoint at;
  for (auto _ : bench) {
    at = rig.Tick();
    benchmark::DoNotOptimize(at);
  }
  if (at.x < 0) bench.SkipWithError("the report did not decode as a placed touch");
  bench.SetItemsProcessed(bench.iterations());
}

void PlainReportTick(benchmark::State& bench) {
  Rig rig(PlainTouchReport(), ReportFraming::Plain);
  RunTicks(bench, rig);
}
BENCHMARK(PlainReportTick);

void TwoPlainReportsTick(benchmark::State& bench) {
  auto batch = PlainTouchReport();
  const auto second = PlainTouchReport();
  batch.insert(batch.end(), second.begin(), second.end());
  Rig rig(batch, ReportFraming::Plain);
  RunTicks(bench, rig);
}
BENCHMARK(TwoPlainReportsTick);

void FramedReportTick(benchmark::State& bench) {
  Rig rig(FramedBatch(), ReportFraming::Framed);
  RunTicks(bench, rig);
}
BENCHMARK(FramedReportTick);

// A tick that has fallen a whole receive buffer behind: the framed scan stops at the first
// frame, the plain copy at the store's end, so neither grows with the queue.
void FullBufferFramedTick(benchmark::State& bench) {
  const auto one = FramedBatch();
  std::vector<std::uint8_t> batch;
  while (batch.size() < kReceiveBufferSize) batch.insert(batch.end(), one.begin(), one.end());
  Rig rig(batch, ReportFraming::Framed);
  RunTicks(bench, rig);
}
BENCHMARK(FullBufferFramedTick);

// A report already in the store: decode, interpolate and map.
void DecodeStoredReportOnly(benchmark::State& bench) {
  Rig rig(PlainTouchReport(), ReportFraming::Plain);
  rig.Tick();
  rig.Tick();
  for (auto _ : bench) benchmark::DoNotOptimize(rig.DecodeStored());
  bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(DecodeStoredReportOnly);

// The decoder alone: status, both rows ranked, placed and fixed.
void DecodeReportAlone(benchmark::State& bench) {
  Rig rig(PlainTouchReport(), ReportFraming::Plain);
  rig.Tick();
  rig.Tick();
  for (auto _ : bench) {
    benchmark::DoNotOptimize(DecodeReport(rig.reader->ReportStore, rig.pen, rig.decoder));
  }
  bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(DecodeReportAlone);

}  // namespace
}  // namespace raz
