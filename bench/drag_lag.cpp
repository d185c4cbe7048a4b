// How far the cursor trails a moving pen, how far it strays from the pen's path, and how still
// it keeps a resting pen: the whole driver headless over the simulated board (razazide-sim's
// machinery), classic and responsive side by side. Not a test: it measures and prints tables.
//
// Usage: razazide_drag_lag [RATE]   RATE: the board's reports per second (default 1024, the
// plain link's).
//
// Strokes: a straight 600 px diagonal and a circle of radius 150 px, at 25 to 1600 px/s, no
// noise. Lag of a drag point: the time since the pen was nearest to it (the time shift between
// the pen's path and the cursor's; negative when the cursor is ahead). Spatial error: the distance of the point from the pen's
// whole path. Resting pen: 3 s on one spot at noise sigma 1, 2, 4, 8; the moves per second and
// the spread (the larger side of the box round every cursor position) after the first 500 ms.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "accuracy.h"
#include "hosts/headless/headless_host.h"
#include "platform/headless/headless_devices.h"
#include "platform/headless/headless_files.h"
#include "platform/headless/headless_profile.h"
#include "sim/scenario_parser.h"
#include "sim/scenario_player.h"
#include "sim/sim_board.h"
#include "storage/settings.h"

namespace raz {
namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr std::uint64_t kStart = 2'000'000;  // the scenario starts at the first device watch
constexpr std::uint64_t kDwell = 300'000;    // the pen rests this long before and after a stroke

struct Event {
  std::uint64_t micros;
  std::uint32_t flags;
  double x, y;
};

class RecordingMouse : public MouseOutput {
 public:
  explicit RecordingMouse(const Clock& clock) : clock_(clock) {}
  void Emit(std::uint32_t flags, std::int32_t dx, std::int32_t dy) override {
    events.push_back({clock_.NowMicros(), flags, static_cast<double>((std::int64_t{dx} * kWidth) >> 16),
                      static_cast<double>((std::int64_t{dy} * kHeight) >> 16)});
  }
  std::vector<Event> events;

 private:
  const Clock& clock_;
};

// The driver's own calibration with none stored maps the coded area onto pixels 0 .. W - 1.
sim::PixelPoint Truth(const sim::ScenarioPlayer& player, std::uint64_t scenarioMicros) {
  const sim::PixelPoint p = player.projection().ToScreen(player.PenAt(scenarioMicros).position);
  return {p.x * (kWidth - 1) / kWidth, p.y * (kHeight - 1) / kHeight};
}

struct Run {
  std::unique_ptr<sim::ScenarioPlayer> player;
  std::vector<Event> events;
};

Run Play(const std::string& text, int penResponse) {
  const sim::ScenarioParse parse = sim::ParseScenario(text);
  Run run{std::make_unique<sim::ScenarioPlayer>(parse.scenario), {}};
  const fs::path folder = fs::temp_directory_path() / "razazide-drag-lag";
  fs::remove_all(folder);
  fs::create_directories(folder);
  VirtualClock clock;
  HeadlessFiles files(folder.string() + "/");
  HeadlessProfile profile;
  SettingsFile(profile, (folder / kSettingsFileName).string())
      .WriteInteger(Section::Parameters, Key::PenResponse, penResponse);
  HeadlessDisplay display(kWidth, kHeight);
  RecordingMouse mouse(clock);
  HeadlessMessenger messenger;
  HeadlessShell shell;
  const sim::DelayedPenSource source(*run.player, kStart);
  sim::SimBoard board(clock, parse.scenario.settings.board);
  board.SetPenSource(&source);
  Platform platform{files, profile, display, board, mouse, messenger, shell, clock};
  HeadlessHost host(platform, clock);
  host.Start();
  host.RunUntil(kStart + run.player->EndMicros() + 200'000);
  run.events = std::move(mouse.events);
  return run;
}

double Quantile(std::vector<double> v, double q) {
  if (v.empty()) return std::nan("");
  std::sort(v.begin(), v.end());
  return v[static_cast<std::size_t>(q * static_cast<double>(v.size() - 1) + 0.5)];
}

std::string Header(int rate, int noise) {
  std::ostringstream s;
  s << "screen " << kWidth << " " << kHeight << "\nprojection 73.5 73.5 147 147 0 0\nrate " << rate
    << "\nnoise " << noise << "\nwait 1s\n";
  return s.str();
}

// A polyline at a constant speed, resting at both ends. Returns the scenario and the stroke's
// time span (scenario time).
struct Stroke {
  std::string text;
  std::uint64_t from, to;
};

Stroke PlayPolyline(const std::vector<sim::PixelPoint>& points, double speed, int rate,
                    int noise = 0) {
  std::ostringstream s;
  s << Header(rate, noise) << "near " << points[0].x << " " << points[0].y << " 50ms\n"
    << "touch " << points[0].x << " " << points[0].y << " " << kDwell << "us\n";
  std::uint64_t t = 1'000'000 + 50'000 + kDwell;
  const std::uint64_t from = t;
  for (std::size_t i = 1; i < points.size(); ++i) {
    const double length = std::hypot(points[i].x - points[i - 1].x, points[i].y - points[i - 1].y);
    const auto micros = static_cast<std::uint64_t>(std::lround(length / speed * 1e6));
    s << "stroke " << points[i - 1].x << " " << points[i - 1].y << " " << points[i].x << " "
      << points[i].y << " " << micros << "us\n";
    t += micros;
  }
  s << "touch " << points.back().x << " " << points.back().y << " " << kDwell << "us\nnear "
    << points.back().x << " " << points.back().y << " 50ms\nlift 100ms\n";
  return {s.str(), from, t};
}

std::vector<sim::PixelPoint> Straight() { return {{272, 204}, {752, 564}}; }

std::vector<sim::PixelPoint> Circle() {
  std::vector<sim::PixelPoint> points;
  for (int i = 0; i <= 72; ++i) {
    const double a = i * 2.0 * std::numbers::pi / 72.0;
    points.push_back({512 + 150 * std::cos(a), 384 + 150 * std::sin(a)});
  }
  return points;
}

struct Shape {
  double lagMedian, lagP95, errorMedian, errorP95;
  std::size_t points;
};

// Drag points while the pen moves: lag by the nearest pen position from 400 ms before to 100 ms after, error
// against the whole path.
Shape Measure(const Run& run, const Stroke& stroke) {
  std::vector<sim::PixelPoint> path;
  for (std::uint64_t t = stroke.from; t <= stroke.to; t += 100) path.push_back(Truth(*run.player, t));
  const simcli::NearestPoints nearest(path);
  std::vector<double> lags, errors;
  bool down = false;
  for (const Event& e : run.events) {
    if (e.flags & 0x2) down = true;
    if (e.flags & 0x4) down = false;
    const std::uint64_t t = e.micros - kStart;
    if (!down || !(e.flags & 0x1) || t < stroke.from || t > stroke.to) continue;
    // The cursor may also be ahead of the pen (a rounding up): a lead counts as negative lag.
    double best = 1e9;
    std::int64_t bestShift = 0;
    for (std::int64_t shift = -100'000; shift <= 400'000; shift += 50) {
      const auto at = static_cast<std::int64_t>(t) - shift;
      if (at < static_cast<std::int64_t>(stroke.from) || at > static_cast<std::int64_t>(stroke.to)) {
        continue;
      }
      const sim::PixelPoint p = Truth(*run.player, static_cast<std::uint64_t>(at));
      const double d = std::hypot(p.x - e.x, p.y - e.y);
      if (d < best) best = d, bestShift = shift;
    }
    lags.push_back(static_cast<double>(bestShift) / 1000.0);
    errors.push_back(nearest.Distance({e.x, e.y}));
  }
  return {Quantile(lags, 0.5), Quantile(lags, 0.95), Quantile(errors, 0.5), Quantile(errors, 0.95),
          lags.size()};
}

struct Rest {
  double movesPerSecond, spread;
};

Rest Resting(int noise, int penResponse, int rate) {
  std::ostringstream s;
  s << Header(rate, noise) << "near 512 384 50ms\ntouch 512 384 3s\nnear 512 384 50ms\nlift 100ms\n";
  const Run run = Play(s.str(), penResponse);
  const std::uint64_t from = kStart + 1'050'000 + 500'000;
  const std::uint64_t to = kStart + 1'050'000 + 3'000'000;
  double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
  std::size_t moves = 0;
  for (const Event& e : run.events) {
    if (e.micros > to) break;
    if (!(e.flags & 0x1)) continue;
    // The position held when the window opens counts as well as every move inside it.
    if (e.micros >= from) ++moves;
    if (e.micros < from) minX = maxX = e.x, minY = maxY = e.y;
    minX = std::min(minX, e.x), maxX = std::max(maxX, e.x);
    minY = std::min(minY, e.y), maxY = std::max(maxY, e.y);
  }
  return {static_cast<double>(moves) / ((to - from) / 1e6), std::max(maxX - minX, maxY - minY)};
}

// Press latency after the board was idle (7 s with no pen, the slow poll), for a pen that comes
// through 100 ms of hover and one that lands at once, against a pen away for only 300 ms (the
// poll busy). Milliseconds from the touch to the button going down, averaged over 20 presses
// at different phases.
double PressLatency(const char* before, int penResponse, int rate) {
  std::ostringstream s;
  s << Header(rate, 0);
  std::vector<std::uint64_t> touches;
  std::uint64_t t = 1'000'000;
  for (int i = 0; i < 20; ++i) {
    const std::string away = std::string(before) == "busy" ? "300ms" : "7s";
    const std::uint64_t awayMicros = std::string(before) == "busy" ? 300'000 : 7'000'000;
    s << "lift " << away << "\n";
    t += awayMicros + 1'000 + 3'000 * i;
    s << "wait " << 1'000 + 3'000 * i << "us\n";
    if (std::string(before) != "landing") {
      s << "hover 512 384 100ms\n";
      t += 100'000;
    }
    touches.push_back(t);
    s << "touch 512 384 100ms\n";
    t += 100'000;
  }
  s << "lift 100ms\n";
  const Run run = Play(s.str(), penResponse);
  double sum = 0;
  std::size_t next = 0;
  for (const Event& e : run.events) {
    if (!(e.flags & 0x2) || next == touches.size()) continue;
    sum += static_cast<double>(e.micros - kStart - touches[next++]) / 1000.0;
  }
  return next == touches.size() ? sum / static_cast<double>(next) : std::nan("");
}

void PrintShapes(const char* name, const std::vector<sim::PixelPoint>& points, int rate) {
  std::printf("\n%s, no noise, %d reports/s\n\n", name, rate);
  std::printf("| pen speed (px/s) | aim: lag at most | classic lag median | p95 | responsive lag median"
              " | p95 | classic error median | p95 | responsive error median | p95 |\n");
  std::printf("|---|---|---|---|---|---|---|---|---|---|\n");
  for (const double speed : {25.0, 50.0, 100.0, 200.0, 400.0, 800.0, 1600.0}) {
    const Stroke stroke = PlayPolyline(points, speed, rate);
    const Shape classic = Measure(Play(stroke.text, 0), stroke);
    const Shape responsive = Measure(Play(stroke.text, 1), stroke);
    std::printf("| %.0f | %.1f ms | %.1f ms | %.1f ms | %.1f ms | %.1f ms | %.2f px | %.2f px | %.2f px"
                " | %.2f px |\n",
                speed, std::max(3.0, 1000.0 / speed), classic.lagMedian, classic.lagP95,
                responsive.lagMedian, responsive.lagP95, classic.errorMedian, classic.errorP95,
                responsive.errorMedian, responsive.errorP95);
  }
}

}  // namespace
}  // namespace raz

int main(int argc, char** argv) {
  using namespace raz;
  const int rate = argc > 1 ? std::atoi(argv[1]) : 1024;
  PrintShapes("Straight 600 px diagonal", Straight(), rate);
  PrintShapes("Circle, radius 150 px", Circle(), rate);
  std::printf("\nResting pen, 3 s, %d reports/s, after the first 500 ms\n\n", rate);
  std::printf("| noise sigma | classic moves/s | classic spread | responsive moves/s | responsive spread |\n");
  std::printf("|---|---|---|---|---|\n");
  for (const int noise : {1, 2, 4, 8}) {
    const Rest classic = Resting(noise, 0, rate);
    const Rest responsive = Resting(noise, 1, rate);
    std::printf("| %d | %.1f | %.0f px | %.1f | %.0f px |\n", noise, classic.movesPerSecond,
                classic.spread, responsive.movesPerSecond, responsive.spread);
  }
  std::printf("\nStraight stroke at 200 px/s with noise, %d reports/s\n\n", rate);
  std::printf("| noise sigma | classic lag median | responsive lag median | classic error median | p95"
              " | responsive error median | p95 |\n|---|---|---|---|---|---|---|\n");
  for (const int noise : {1, 2, 4, 8}) {
    const Stroke stroke = PlayPolyline(Straight(), 200.0, rate, noise);
    const Shape classic = Measure(Play(stroke.text, 0), stroke);
    const Shape responsive = Measure(Play(stroke.text, 1), stroke);
    std::printf("| %d | %.1f ms | %.1f ms | %.2f px | %.2f px | %.2f px | %.2f px |\n", noise,
                classic.lagMedian, responsive.lagMedian, classic.errorMedian, classic.errorP95,
                responsive.errorMedian, responsive.errorP95);
  }
  std::printf("\nPress latency, mean of 20 presses, %d reports/s\n\n", rate);
  std::printf("| the pen before the touch | classic | responsive |\n|---|---|---|\n");
  for (const char* before : {"busy", "hover", "landing"}) {  // away 300 ms + hover; idle + hover; idle, no hover
    std::printf("| %s | %.2f ms | %.2f ms |\n", before, PressLatency(before, 0, rate),
                PressLatency(before, 1, rate));
  }
  return 0;
}
