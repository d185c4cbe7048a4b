// Cost of one poll tick's report reading and decoding, per decoded report.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/form1.h"
#include "board/interpolation.h"
#include "board/report_decoder.h"
#include "platform/headless/headless_devices.h"
#include "platform/headless/headless_files.h"
#include "platform/headless/headless_profile.h"
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

struct Rig {
  explicit Rig(std::vector<std::uint8_t> batch, std::int32_t framing)
      : usb({std::move(batch)}, /*loop=*/true), platform{files, profile, display, usb, mouse, messenger, shell} {
    state->link.ReportFraming = framing;
    state->settings.PenTouchLimit = 10;
    state->settings.PenRightCentre = 60;
    state->calibration.CalibrationScaleX = 1.0f;
    state->calibration.CalibrationScaleY = 1.0f;
  }
  sim::CaptureBoard usb;
  HeadlessFiles files{std::filesystem::temp_directory_path().string() + "/"};
  HeadlessProfile profile;
  HeadlessDisplay display{1920, 1080};
  HeadlessMouseOutput mouse;
  HeadlessMessenger messenger;
  HeadlessShell shell;
  Platform platform;
  std::unique_ptr<DriverState> state = std::make_unique<DriverState>();
  TForm1 form{*state, platform};
};

void RunTicks(benchmark::State& bench, Rig& rig) {
  // The first report after start-up is judged by a zero level and never reads as a touch.
  ReadAndDecodeReports(rig.form);
  for (auto _ : bench) {
    ReadAndDecodeReports(rig.form);
    benchmark::DoNotOptimize(rig.state->sample);
  }
  if (rig.state->sample.PenStatus != PenStatusCode::Touch || rig.state->sample.SampleRejected) {
    bench.SkipWithError("the report did not decode as a placed touch");
  }
  bench.SetItemsProcessed(bench.iterations());
}

void PlainReportTick(benchmark::State& bench) {
  Rig rig(PlainTouchReport(), 0);
  RunTicks(bench, rig);
}
BENCHMARK(PlainReportTick);

void TwoPlainReportsTick(benchmark::State& bench) {
  auto batch = PlainTouchReport();
  const auto second = PlainTouchReport();
  batch.insert(batch.end(), second.begin(), second.end());
  Rig rig(batch, 0);
  RunTicks(bench, rig);
}
BENCHMARK(TwoPlainReportsTick);

void FramedReportTick(benchmark::State& bench) {
  Rig rig(FramedBatch(), 1);
  RunTicks(bench, rig);
}
BENCHMARK(FramedReportTick);

// A tick that has fallen a whole receive buffer behind: the framed scan stops at the first
// frame, the plain copy at the store's end, so neither grows with the queue.
void FullBufferFramedTick(benchmark::State& bench) {
  const auto one = FramedBatch();
  std::vector<std::uint8_t> batch;
  while (batch.size() < kReceiveBufferSize) batch.insert(batch.end(), one.begin(), one.end());
  Rig rig(batch, 1);
  RunTicks(bench, rig);
}
BENCHMARK(FullBufferFramedTick);

void DecodeStoredReportOnly(benchmark::State& bench) {
  Rig rig(PlainTouchReport(), 0);
  ReadAndDecodeReports(rig.form);
  ReadAndDecodeReports(rig.form);
  std::vector<std::string> diagnostics;
  for (auto _ : bench) {
    DecodeStoredReport(*rig.state, diagnostics);
    benchmark::DoNotOptimize(rig.state->sample);
  }
  bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(DecodeStoredReportOnly);

}  // namespace
}  // namespace raz
