#include "run.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>

#include "app/form_commands.h"
#include "event_log.h"
#include "plot.h"
#include "png.h"
#include "platform/headless/headless_devices.h"
#include "platform/headless/headless_files.h"
#include "hosts/headless/headless_host.h"
#include "platform/headless/headless_profile.h"
#include "sim/capture_board.h"
#include "sim/scenario_parser.h"
#include "sim/scenario_player.h"
#include "sim/sim_board.h"
#include "storage/data_files.h"

namespace raz::simcli {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

fs::path MakeTempFolder() {
  std::random_device rd;
  const fs::path folder = fs::temp_directory_path() / ("razazide-sim-" + std::to_string(rd()));
  fs::create_directories(folder);
  return folder;
}

// The program folder and whether to remove it afterwards.
struct Folder {
  fs::path path;
  bool temporary = false;
  ~Folder() {
    std::error_code ec;
    if (temporary) fs::remove_all(path, ec);
  }
};

// Everything one run needs, wired like the real program but headless and logged.
struct Rig {
  Rig(const fs::path& folder, int width, int height, std::ostream& out)
      : log(out, clock),
        files(folder.string()),
        loggedFiles(files, log),
        loggedProfile(profile, log),
        display(width, height),
        mouse(log),
        loggedMessenger(messenger, log) {
    log.SetScreen(width, height);
  }

  VirtualClock clock;
  EventLog log;
  HeadlessFiles files;
  LoggingFiles loggedFiles;
  HeadlessProfile profile;
  LoggingProfile loggedProfile;
  HeadlessDisplay display;
  LoggingMouseOutput mouse;
  HeadlessMessenger messenger;
  LoggingMessenger loggedMessenger;
  HeadlessShell shell;
  std::string recordPath;
  std::string imagesPath;
};

// What the log follows across handlers: the link text, the calibrations put in force, and
// the calibration target on show.
struct Watch {
  std::string link;
  std::uint32_t toursApplied = 0;
  int targetShown = -1;
};

void AfterHandler(HeadlessHost& host, Rig& rig, Watch& watch) {
  const TForm1& form = host.form1();
  if (form.Label2.Caption != watch.link) {
    watch.link = form.Label2.Caption;
    if (watch.link == "ok" || watch.link == "no") rig.log.Link(watch.link);
  }
  const CalibrationState& calibration = host.state().calibration;
  if (calibration.ToursApplied != watch.toursApplied) {
    watch.toursApplied = calibration.ToursApplied;
    rig.log.Calibration(calibration.Stored);
  }
  const int target = calibration.Tour.CalibrationActive && form.Window.Visible
                         ? calibration.Tour.CalibrationTargetIndex
                         : -1;
  if (target != watch.targetShown) {
    watch.targetShown = target;
    if (target >= 0 && !rig.imagesPath.empty()) {
      const std::string path =
          (fs::path(rig.imagesPath) / ("image1-target-" + std::to_string(target + 1) + ".png"))
              .string();
      WritePng(path, form.Image1.Width, form.Image1.Height, form.Image1.Pixels);
    }
  }
}

void Perform(HeadlessHost& host, Rig& rig, const sim::ScenarioStep& step) {
  if (step.kind == sim::StepKind::Menu) {
    const FormCommand* command = FindFormCommand(step.item);
    rig.log.Menu(std::string(command->name));
    host.Dispatch([&host, command] { command->run(host.form1()); });
  } else if (step.kind == sim::StepKind::Client) {
    const std::intptr_t result = host.SendClientRequest(static_cast<std::uintptr_t>(step.wParam),
                                                        static_cast<std::intptr_t>(step.lParam));
    rig.log.ClientRequest(static_cast<std::intptr_t>(step.wParam),
                          static_cast<std::intptr_t>(step.lParam), result);
  }
}

// Runs the driver until the given time or until done() holds, then for tailMicros more; the
// scenario's actions happen at their times on the way (their times count from startMicros).
void Drive(Rig& rig, VendorUsb& board, std::uint64_t untilMicros,
           const std::function<bool()>& done, std::uint64_t tailMicros, std::ostream& err,
           const std::vector<sim::ScenarioAction>& actions = {}, std::uint64_t startMicros = 0) {
  std::ofstream recordFile;
  std::unique_ptr<sim::RecordingUsb> recorder;
  if (!rig.recordPath.empty()) {
    recordFile.open(rig.recordPath, std::ios::app);
    recorder = std::make_unique<sim::RecordingUsb>(board, recordFile);
  }
  VendorUsb& usb = recorder ? static_cast<VendorUsb&>(*recorder) : board;
  Platform platform{rig.loggedFiles, rig.loggedProfile, rig.display, usb,
                    rig.mouse,       rig.loggedMessenger, rig.shell, rig.clock};
  HeadlessHost host(platform, rig.clock);
  Watch watch;
  host.afterHandler = [&] { AfterHandler(host, rig, watch); };
  host.Start();
  for (const sim::ScenarioAction& action : actions) {
    const std::uint64_t at = startMicros + action.at;
    if (at > untilMicros || host.Closed()) break;
    host.RunUntil(at);
    Perform(host, rig, action.step);
  }
  while (rig.clock.NowMicros() < untilMicros && !host.Closed() && !(done && done())) {
    host.RunFor(std::min<std::uint64_t>(100'000, untilMicros - rig.clock.NowMicros()));
  }
  host.RunFor(tailMicros);
  for (const std::string& e : host.shownErrors()) err << "shown to the user: " << e << "\n";
}

std::string Quantiles(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  auto at = [&](double q) { return values[static_cast<std::size_t>(q * (values.size() - 1))]; };
  std::ostringstream text;
  text.precision(3);
  text << "median " << at(0.5) << " px, p95 " << at(0.95) << " px, max " << values.back() << " px";
  return text.str();
}

double DistanceToStrokes(const sim::PixelPoint& p, const std::vector<PixelStroke>& strokes) {
  double best = 1e300;
  for (const PixelStroke& s : strokes) {
    for (const sim::PixelPoint& q : s.points) best = std::min(best, std::hypot(q.x - p.x, q.y - p.y));
  }
  return best;
}

// How far each injected drag point lies from the true pen: at the same moment (this includes
// the driver's latency) and from the nearest point of the true strokes (the spatial error).
void ReportAccuracy(const std::vector<LoggedMouseEvent>& events, const sim::ScenarioPlayer& player,
                    std::uint64_t startMicros, std::ostream& err) {
  const std::vector<PixelStroke> truth = TrueStrokes(player, 1000);
  std::vector<double> sameTime;
  std::vector<double> toPath;
  bool down = false;
  for (const LoggedMouseEvent& e : events) {
    if (e.flags & MouseFlags::LeftDown) down = true;
    if (e.flags & MouseFlags::LeftUp) down = false;
    if (!down || !(e.flags & MouseFlags::Move)) continue;
    const auto t = static_cast<std::uint64_t>(e.timeMs * 1000.0);
    const sim::PenState pen = player.PenAt(t > startMicros ? t - startMicros : 0);
    if (pen.contact != sim::PenContact::Touch) continue;
    const sim::PixelPoint at = player.projection().ToScreen(pen.position);
    const sim::PixelPoint injected{static_cast<double>(e.x), static_cast<double>(e.y)};
    sameTime.push_back(std::hypot(at.x - injected.x, at.y - injected.y));
    toPath.push_back(DistanceToStrokes(injected, truth));
  }
  if (sameTime.empty()) return;
  err << "drag points: " << sameTime.size() << "\n"
      << "  distance to the true pen at the same time: " << Quantiles(sameTime) << "\n"
      << "  distance to the true stroke:               " << Quantiles(toPath) << "\n";
}

int RunScenario(const Options& o, const std::string& text, Rig& rig, std::ostream& out,
                std::ostream& err) {
  const sim::ScenarioParse parse = sim::ParseScenario(text);
  for (const auto& e : parse.errors) err << o.scenarioPath << ": " << sim::FormatError(e) << "\n";
  if (!parse.Ok()) return 2;
  const sim::ScenarioPlayer player(parse.scenario);
  bool known = true;
  for (const sim::ScenarioAction& action : player.Actions()) {
    if (action.step.kind == sim::StepKind::Menu && FindFormCommand(action.step.item) == nullptr) {
      err << o.scenarioPath << ": line " << action.step.line << ": no menu item, button or key '"
          << action.step.item << "'\n";
      known = false;
    }
  }
  if (!known) return 2;
  const std::uint64_t start = o.startMs * 1000;
  // The scenario starts when the driver first looks for the board.
  const sim::DelayedPenSource source(player, start);
  sim::SimBoard board(rig.clock, parse.scenario.settings.board);
  board.SetPenSource(&source);
  const std::uint64_t until = o.untilMs ? *o.untilMs * 1000 : start + player.EndMicros() + 500'000;
  Drive(rig, board, until, nullptr, 0, err, player.Actions(), start);
  ReportAccuracy(rig.log.mouseEvents(), player, start, err);
  if (!o.plotPath.empty()) {
    std::ofstream svg(o.plotPath);
    WritePlot(svg, rig.display.HorizontalResolution(), rig.display.VerticalResolution(),
              TrueStrokes(player, 2000), InjectedStrokes(rig.log.mouseEvents()),
              rig.log.mouseEvents());
  }
  (void)out;
  return 0;
}

int RunCapture(const Options& o, const std::string& text, Rig& rig, std::ostream& err) {
  sim::CaptureParse parse = sim::ParseCapture(text);
  for (const auto& e : parse.errors) err << o.capturePath << ": " << e << "\n";
  if (!parse.errors.empty()) return 2;
  sim::CaptureBoard board(std::move(parse.batches));
  const std::uint64_t cap = o.untilMs ? *o.untilMs * 1000 : ~std::uint64_t{0} / 2;
  // Without a stop time the driver gets 100 ms after the last batch to act on it.
  Drive(rig, board, cap, [&] { return board.Finished(); }, o.untilMs ? 0 : 100'000, err);
  err << "batches replayed: " << board.BatchesRead() << "\n";
  return 0;
}

}  // namespace

int RunSimulation(const Options& o, std::ostream& out, std::ostream& err) {
  const std::string& inputPath = o.scenarioPath.empty() ? o.capturePath : o.scenarioPath;
  const auto text = ReadText(inputPath);
  if (!text) {
    err << "cannot read " << inputPath << "\n";
    return 2;
  }
  Folder folder{o.folder.empty() ? MakeTempFolder() : fs::path(o.folder),
                o.folder.empty() && !o.keepFolder};
  if (o.keepFolder) err << "program folder: " << folder.path.string() << "\n";
  int width = o.screenWidth;
  int height = o.screenHeight;
  if (width == 0) {
    const auto parse = sim::ParseScenario(o.scenarioPath.empty() ? "" : *text);
    width = parse.scenario.settings.projection.screenWidth;
    height = parse.scenario.settings.projection.screenHeight;
  }
  Rig rig(folder.path, width, height, out);
  if (!o.recordPath.empty()) {
    std::ofstream(o.recordPath, std::ios::trunc) << "# read batches of razazide-sim " << inputPath
                                                << "\n";
    rig.recordPath = o.recordPath;
  }
  if (!o.imagesPath.empty()) {
    fs::create_directories(o.imagesPath);
    rig.imagesPath = o.imagesPath;
  }
  if (o.framing) SaveFlag(rig.files, kFramingFileName, *o.framing);
  return o.scenarioPath.empty() ? RunCapture(o, *text, rig, err) : RunScenario(o, *text, rig, out, err);
}

}  // namespace raz::simcli
