// Cost of one whole Timer1 tick — read, decode, interpolate, map, pen state machine and
// injection — over reports of a pen drawing a circle, and the throughput of the headless
// simulator that support uses to replay a user's problem.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "app/form1.h"
#include "options.h"
#include "platform/headless/headless_devices.h"
#include "platform/headless/headless_files.h"
#include "platform/headless/headless_profile.h"
#include "run.h"
#include "sim/board_model.h"
#include "sim/capture_board.h"

namespace raz {
namespace {

class NullMouse : public MouseOutput {
 public:
  void Emit(std::uint32_t, std::int32_t, std::int32_t) override { ++events; }
  std::uint64_t events = 0;
};

// A touch moving round a circle of 30 cells, three reports per degree, one report per poll.
std::vector<sim::ReadBatch> CircleReports() {
  const sim::BoardModel model;
  std::vector<sim::ReadBatch> reports;
  for (int i = 0; i < 1080; ++i) {
    const double a = i * 3.14159265358979 / 540.0;
    sim::PenState pen;
    pen.contact = sim::PenContact::Touch;
    pen.position = {73.5 + 30.0 * std::cos(a), 73.5 + 30.0 * std::sin(a)};
    const sim::PlainReport report = model.Report(pen, static_cast<std::uint64_t>(i));
    reports.emplace_back(report.begin(), report.end());
  }
  return reports;
}

void WholeTimer1Tick(benchmark::State& bench) {
  sim::CaptureBoard usb(CircleReports(), /*loop=*/true);
  HeadlessFiles files(std::filesystem::temp_directory_path().string() + "/");
  HeadlessProfile profile;
  HeadlessDisplay display(1920, 1080);
  NullMouse mouse;
  HeadlessMessenger messenger;
  HeadlessShell shell;
  VirtualClock clock;
  Platform platform{files, profile, display, usb, mouse, messenger, shell, clock};
  auto state = std::make_unique<DriverState>();
  TForm1 form(*state, platform);
  form.FormCreate();  // default calibration for the screen
  for (int i = 0; i < 10; ++i) form.Timer1Timer();
  for (auto _ : bench) form.Timer1Timer();
  if (mouse.events == 0) bench.SkipWithError("the circle injected no mouse events");
  bench.SetItemsProcessed(bench.iterations());
  bench.counters["events/tick"] =
      benchmark::Counter(static_cast<double>(mouse.events), benchmark::Counter::kAvgIterations);
}
BENCHMARK(WholeTimer1Tick)->Repetitions(5)->ReportAggregatesOnly(true);

// razazide-sim over ten seconds of writing: reports the board sent per second of wall time.
void SimulatorThroughput(benchmark::State& bench) {
  const auto folder = std::filesystem::temp_directory_path() / "razazide-bench-scenario";
  std::filesystem::create_directories(folder);
  const auto scenario = (folder / "write.txt").string();
  {
    std::ofstream out(scenario);
    out << "screen 1920 1080\n";
    for (int i = 0; i < 20; ++i) {
      out << "touch 300 300 50ms\nstroke 300 300 1500 800 300ms\nhover 1500 800 50ms\n"
          << "stroke hover 1500 800 300 300 100ms\n";
    }
  }
  simcli::Options options;
  options.scenarioPath = scenario;
  std::uint64_t lines = 0;
  for (auto _ : bench) {
    std::ostringstream out;
    std::ostringstream err;
    if (simcli::RunSimulation(options, out, err) != 0) bench.SkipWithError("the run failed");
    const std::string text = out.str();
    lines += static_cast<std::uint64_t>(std::count(text.begin(), text.end(), '\n'));
  }
  // 2 s to the first watch, 10 s of scenario, 0.5 s of tail, at 200 reports per second.
  const double reportsPerRun = (12.5 - 2.0) * 200.0;
  bench.counters["reports/s"] = benchmark::Counter(reportsPerRun * static_cast<double>(bench.iterations()),
                                                   benchmark::Counter::kIsRate);
  bench.counters["lines/run"] =
      benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kAvgIterations);
}
BENCHMARK(SimulatorThroughput)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace raz
