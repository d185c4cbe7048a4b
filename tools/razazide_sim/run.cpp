#include "run.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <sstream>

#include "accuracy.h"
#include "app/form_commands.h"
#include "calibration/keystone.h"
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
#include "sim/sim_desktop.h"
#include "storage/data_files.h"
#include "storage/settings.h"

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
    log.SetDisplay(display);
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
  } else if (step.kind == sim::StepKind::Display) {
    sim::PlayDisplayStep(step, rig.display);
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

Mapping FolderMapping(Rig& rig) {
  SettingsFile ini(rig.profile, ProgramFile(rig.files, kSettingsFileName));
  return MappingFromStored(ini.ReadInteger(Section::Parameters, Key::Mapping, 0));
}

void WriteMapping(Rig& rig, Mapping mapping) {
  SettingsFile(rig.profile, ProgramFile(rig.files, kSettingsFileName))
      .WriteInteger(Section::Parameters, Key::Mapping, StoredNumber(mapping));
}

const char* MappingName(Mapping mapping) {
  return mapping == Mapping::KeystoneExact ? "keystone-exact" : "standard";
}

// The scenario's pen on a simulated board, from the first device watch until the stop time.
// The scenario's pen on a simulated board from the first device watch until the stop time;
// returns how near the drag points came to the pen.
AccuracySample Play(Rig& rig, const sim::ScenarioParse& parse, const sim::ScenarioPlayer& player,
                    std::uint64_t start, std::uint64_t until, std::ostream& err) {
  const sim::SimSettings& settings = parse.scenario.settings;
  if (!settings.desktop.monitors.empty()) sim::SetUpDesktop(settings, rig.display);
  // The scenario starts when the driver first looks for the board.
  const sim::DelayedPenSource source(player, start);
  sim::SimBoard board(rig.clock, settings.board);
  board.SetPenSource(&source);
  Drive(rig, board, until, nullptr, 0, err, player.Actions(), start);
  // The scenario's points are pixels of the projector's monitor.
  std::vector<LoggedMouseEvent> onProjector = rig.log.mouseEvents();
  const ScreenRect projector = sim::ProjectorMonitor(settings);
  for (LoggedMouseEvent& e : onProjector) {
    e.x -= projector.Left;
    e.y -= projector.Top;
  }
  return MeasureAccuracy(onProjector, player, start, until);
}

int RunScenario(const Options& o, const std::string& text, Rig& rig, const fs::path& spareFolder,
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
  const std::uint64_t until = o.untilMs ? *o.untilMs * 1000 : start + player.EndMicros() + 500'000;
  // Opened before the run: a plot that cannot be written is known before a long run, not after.
  std::ofstream svg;
  if (!o.plotPath.empty()) {
    svg.open(o.plotPath);
    if (!svg) {
      err << "--plot: cannot write " << o.plotPath << "\n";
      return 2;
    }
  }
  const Mapping used = FolderMapping(rig);
  std::vector<MappedAccuracy> runs{{MappingName(used), Play(rig, parse, player, start, until, err)}};
  if (!runs[0].sample.sameTime.empty()) {
    // The same scenario again, from the same program files, under the other mapping.
    std::ostream discarded(nullptr);
    std::ostringstream unused;
    Rig other(spareFolder, rig.display.HorizontalResolution(), rig.display.VerticalResolution(),
              discarded);
    const Mapping otherMapping =
        used == Mapping::Standard ? Mapping::KeystoneExact : Mapping::Standard;
    WriteMapping(other, otherMapping);
    MappedAccuracy second{MappingName(otherMapping),
                          Play(other, parse, player, start, until, unused)};
    runs.insert(used == Mapping::Standard ? runs.end() : runs.begin(), std::move(second));
  }
  ReportAccuracy(runs, err);
  if (svg.is_open()) {
    WritePlot(svg, rig.display.HorizontalResolution(), rig.display.VerticalResolution(),
              TrueStrokes(player, 2000, until > start ? until - start : 0),
              InjectedStrokes(rig.log.mouseEvents()), rig.log.mouseEvents());
  }
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

// Why a folder given with --folder cannot be the program folder, if it cannot. Every program
// file in it must be missing or a regular file: a symbolic link would have the driver's saves
// change a file outside the folder (the user's original, often), and the headless devices refuse
// such writes, so the run would not do what the user's machine did. Better to say so at once.
std::optional<std::string> FolderProblem(const std::string& folder) {
  std::error_code ec;
  const fs::file_status status = fs::status(folder, ec);
  if (status.type() == fs::file_type::not_found) return "--folder " + folder + ": no such folder";
  if (!fs::is_directory(status)) return "--folder " + folder + ": not a folder";
  for (const char* name : {kSettingsFileName, kCalibrationFileName, kAutostartFileName,
                           kFramingFileName, kBoardModelFileName}) {
    const fs::path file = fs::path(folder) / name;
    const HostFileKind kind = KindOfHostFile(file.string());
    if (kind == HostFileKind::Missing || kind == HostFileKind::Regular) continue;
    if (fs::is_symlink(fs::symlink_status(file, ec))) {
      return "--folder " + folder + ": " + name +
             " is a symbolic link; the driver may write this file, copy it into the folder";
    }
    return "--folder " + folder + ": " + name + " is not a regular file";
  }
  return std::nullopt;
}

}  // namespace

int RunSimulation(const Options& o, std::ostream& out, std::ostream& err) {
  const std::string& inputPath = o.scenarioPath.empty() ? o.capturePath : o.scenarioPath;
  const auto text = ReadText(inputPath);
  if (!text) {
    err << "cannot read " << inputPath << "\n";
    return 2;
  }
  if (!o.folder.empty()) {
    if (const auto problem = FolderProblem(o.folder)) {
      err << *problem << "\n";
      return 2;
    }
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
    std::ofstream record(o.recordPath, std::ios::trunc);
    if (!(record << "# read batches of razazide-sim " << inputPath << "\n")) {
      err << "--record: cannot write " << o.recordPath << "\n";
      return 2;
    }
    rig.recordPath = o.recordPath;
  }
  if (!o.imagesPath.empty()) {
    std::error_code made;
    fs::create_directories(o.imagesPath, made);
    if (made || !fs::is_directory(o.imagesPath)) {
      err << "--images: cannot make the folder " << o.imagesPath << "\n";
      return 2;
    }
    rig.imagesPath = o.imagesPath;
  }
  if (o.framing && !SaveFlag(rig.files, kFramingFileName, *o.framing)) {
    err << "--framing " << *o.framing << ": cannot write "
        << ProgramFile(rig.files, kFramingFileName) << "\n";
    return 2;
  }
  if (o.penResponse) {
    SettingsFile ini(rig.profile, ProgramFile(rig.files, kSettingsFileName));
    ini.WriteInteger(Section::Parameters, Key::PenResponse, *o.penResponse);
  }
  if (o.mapping) WriteMapping(rig, MappingFromStored(*o.mapping));
  if (o.scenarioPath.empty()) return RunCapture(o, *text, rig, err);
  // The program files as this run starts, for the run under the other mapping.
  const Folder spare{MakeTempFolder(), true};
  for (const char* name : {kSettingsFileName, kCalibrationFileName, kAutostartFileName,
                           kFramingFileName, kBoardModelFileName}) {
    std::error_code ec;
    fs::copy_file(folder.path / name, spare.path / name, ec);
  }
  return RunScenario(o, *text, rig, spare.path, err);
}

}  // namespace raz::simcli
