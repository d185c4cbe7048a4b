#include "sim/scenario_parser.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "sim/scenario_line.h"

namespace raz::sim {
namespace {

constexpr double kMaxCoordinate = 1e6;
constexpr double kMaxCells = 1000.0;
constexpr double kMaxPeak = 1000.0;
constexpr double kMaxPressure = 2.0;
constexpr std::int64_t kMaxReportRate = 2000;
constexpr std::int64_t kMinQueue = 64;
constexpr std::int64_t kMaxQueue = 16 * 1024 * 1024;
constexpr std::int64_t kMaxScreen = 100000;
constexpr std::int64_t kMaxMonitors = 16;
constexpr std::int64_t kMaxReadFailures = 1000000;
constexpr std::uint64_t kTapHold = 100'000;
constexpr std::uint64_t kTapGap = 100'000;
constexpr std::uint64_t kCalibrationHold = 300'000;
constexpr std::uint64_t kCalibrationGap = 200'000;
constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

struct ParserState {
  Scenario& scenario;
  double pressure = 1.0;
};

using Handler = void (*)(ScenarioLine&, ParserState&, ScenarioStep&);

ScenarioPoint ReadPoint(ScenarioLine& line, Units units, std::string_view name) {
  const double limit = units == Units::Cells ? kMaxCells : kMaxCoordinate;
  const double x = line.Number(std::string(name) + "x", -limit, limit);
  const double y = line.Number(std::string(name) + "y", -limit, limit);
  return {x, y, units};
}

Units ReadUnits(ScenarioLine& line) {
  if (line.Accept("cells")) return Units::Cells;
  line.Accept("px");
  return Units::Pixels;
}

PenContact ContactOf(const std::string& word) {
  if (word == "touch") return PenContact::Touch;
  if (word == "hover") return PenContact::Hover;
  if (word == "right") return PenContact::RightButton;
  if (word == "near") return PenContact::Near;
  throw ScenarioLineError("unknown pen contact '" + word + "'");
}

std::uint64_t OptionalDuration(ScenarioLine& line, std::string_view what, std::uint64_t fallback) {
  return line.AtEnd() ? fallback : line.DurationMicros(what);
}

void PenStep(ScenarioLine& line, ParserState& state, ScenarioStep& step, PenContact contact) {
  step.kind = StepKind::Pen;
  step.contact = contact;
  step.from = step.to = ReadPoint(line, ReadUnits(line), "");
  step.durationMicros = OptionalDuration(line, "duration", 0);
  step.pressure = state.pressure;
}

void Touch(ScenarioLine& line, ParserState& state, ScenarioStep& step) {
  PenStep(line, state, step, PenContact::Touch);
}
void Hover(ScenarioLine& line, ParserState& state, ScenarioStep& step) {
  PenStep(line, state, step, PenContact::Hover);
}
void Right(ScenarioLine& line, ParserState& state, ScenarioStep& step) {
  PenStep(line, state, step, PenContact::RightButton);
}
void Near(ScenarioLine& line, ParserState& state, ScenarioStep& step) {
  PenStep(line, state, step, PenContact::Near);
}

void Stroke(ScenarioLine& line, ParserState& state, ScenarioStep& step) {
  step.kind = StepKind::Stroke;
  step.contact = PenContact::Touch;
  for (const char* word : {"touch", "hover", "right", "near"}) {
    if (line.Accept(word)) {
      step.contact = ContactOf(word);
      break;
    }
  }
  const Units units = ReadUnits(line);
  step.from = ReadPoint(line, units, "start ");
  step.to = ReadPoint(line, units, "end ");
  step.durationMicros = line.DurationMicros("duration");
  step.pressure = state.pressure;
}

void Lift(ScenarioLine& line, ParserState&, ScenarioStep& step) {
  step.kind = StepKind::Pen;
  step.contact = PenContact::Away;
  step.durationMicros = OptionalDuration(line, "duration", 0);
}

void Wait(ScenarioLine& line, ParserState&, ScenarioStep& step) {
  step.kind = StepKind::Wait;
  step.durationMicros = line.DurationMicros("duration");
}

void Unplug(ScenarioLine& line, ParserState&, ScenarioStep& step) {
  step.kind = StepKind::Unplug;
  step.durationMicros = OptionalDuration(line, "duration", 0);
}

void Plug(ScenarioLine& line, ParserState&, ScenarioStep& step) {
  step.kind = StepKind::Plug;
  step.durationMicros = OptionalDuration(line, "duration", 0);
}

void ReadFail(ScenarioLine& line, ParserState&, ScenarioStep& step) {
  step.kind = StepKind::ReadFail;
  step.count =
      line.AtEnd() ? 1 : static_cast<std::uint32_t>(line.Integer("count", 1, kMaxReadFailures));
}

void ShortRead(ScenarioLine& line, ParserState&, ScenarioStep& step) {
  step.kind = StepKind::ShortRead;
  step.count =
      line.AtEnd() ? 1 : static_cast<std::uint32_t>(line.Integer("count", 1, kMaxReadFailures));
}

void TapKey(ScenarioLine& line, ParserState& state, ScenarioStep& step) {
  step.kind = StepKind::TapKey;
  const std::string side = line.Word("margin (left or right)");
  if (side != "left" && side != "right") throw ScenarioLineError("margin must be left or right");
  step.margin = side == "left" ? Margin::Left : Margin::Right;
  step.icon = static_cast<int>(line.Integer("icon", 1, kKeysPerMargin));
  step.holdMicros = OptionalDuration(line, "hold", kTapHold);
  step.gapMicros = OptionalDuration(line, "gap", kTapGap);
  step.pressure = state.pressure;
}

void Tour(ScenarioLine& line, ParserState& state, ScenarioStep& step, StepKind kind) {
  step.kind = kind;
  step.holdMicros = OptionalDuration(line, "hold", kCalibrationHold);
  step.gapMicros = OptionalDuration(line, "gap", kCalibrationGap);
  step.pressure = state.pressure;
}

void Calibrate(ScenarioLine& line, ParserState& state, ScenarioStep& step) {
  Tour(line, state, step, StepKind::Calibrate);
}
void KeyCalibrate(ScenarioLine& line, ParserState& state, ScenarioStep& step) {
  Tour(line, state, step, StepKind::KeyCalibrate);
}

void Menu(ScenarioLine& line, ParserState&, ScenarioStep& step) {
  step.kind = StepKind::Menu;
  step.item = line.Word("menu item, button or key");
}

void Client(ScenarioLine& line, ParserState&, ScenarioStep& step) {
  step.kind = StepKind::Client;
  step.wParam = line.Integer("wParam", kInt32Min, kInt32Max);
  step.lParam = line.AtEnd() ? 0 : line.Integer("lParam", kInt32Min, kInt32Max);
}

// Settings and the pressure change no time; they leave the step kind at Wait with no duration
// and the parser drops such steps.

void Pressure(ScenarioLine& line, ParserState& state, ScenarioStep&) {
  state.pressure = line.Number("pressure", 0.0, kMaxPressure);
}

void Rate(ScenarioLine& line, ParserState& state, ScenarioStep&) {
  state.scenario.settings.board.reportsPerSecond =
      static_cast<std::uint32_t>(line.Integer("reports per second", 1, kMaxReportRate));
}

void Queue(ScenarioLine& line, ParserState& state, ScenarioStep&) {
  state.scenario.settings.board.queueCapacity =
      static_cast<std::size_t>(line.Integer("queue bytes", kMinQueue, kMaxQueue));
}

void Board(ScenarioLine& line, ParserState& state, ScenarioStep&) {
  const std::string kind = line.Word("board kind (type1, type2 or mixed)");
  BoardKind& target = state.scenario.settings.board.model.status.kind;
  if (kind == "type1")
    target = BoardKind::TypeOne;
  else if (kind == "type2")
    target = BoardKind::TypeTwo;
  else if (kind == "mixed")
    target = BoardKind::Mixed;
  else
    throw ScenarioLineError("board kind must be type1, type2 or mixed");
}

void Pen(ScenarioLine& line, ParserState& state, ScenarioStep&) {
  state.scenario.settings.board.model.status.penTouchLimit =
      static_cast<std::int32_t>(line.Integer("Pen setting", kInt32Min, kInt32Max));
}

void PenRight(ScenarioLine& line, ParserState& state, ScenarioStep&) {
  state.scenario.settings.board.model.status.penRightCentre =
      static_cast<std::int32_t>(line.Integer("PenRight setting", kInt32Min, kInt32Max));
}

void Peak(ScenarioLine& line, ParserState& state, ScenarioStep&) {
  state.scenario.settings.board.model.touchPeak = line.Number("peak", 0.0, kMaxPeak);
}
void HoverPeak(ScenarioLine& line, ParserState& state, ScenarioStep&) {
  state.scenario.settings.board.model.hoverPeak = line.Number("hover peak", 0.0, kMaxPeak);
}
void NearPeak(ScenarioLine& line, ParserState& state, ScenarioStep&) {
  state.scenario.settings.board.model.nearPeak = line.Number("near peak", 0.0, kMaxPeak);
}

void Noise(ScenarioLine& line, ParserState& state, ScenarioStep&) {
  BoardModelConfig& model = state.scenario.settings.board.model;
  model.noiseSigma = line.Number("noise sigma", 0.0, kMaxPeak);
  if (line.Accept("seed")) model.noiseSeed = line.Unsigned("seed");
}

void Screen(ScenarioLine& line, ParserState& state, ScenarioStep&) {
  ProjectionConfig& projection = state.scenario.settings.projection;
  projection.screenWidth = static_cast<std::int32_t>(line.Integer("screen width", 1, kMaxScreen));
  projection.screenHeight = static_cast<std::int32_t>(line.Integer("screen height", 1, kMaxScreen));
}

void ProjectionLine(ScenarioLine& line, ParserState& state, ScenarioStep&) {
  ProjectionConfig& projection = state.scenario.settings.projection;
  projection.centre.x = line.Number("centre x", -kMaxCells, kMaxCells);
  projection.centre.y = line.Number("centre y", -kMaxCells, kMaxCells);
  projection.widthCells = line.Number("width", 0.01, kMaxCells);
  projection.heightCells = line.Number("height", 0.01, kMaxCells);
  projection.rotationDegrees = line.AtEnd() ? 0.0 : line.Number("rotation", -45.0, 45.0);
  projection.keystone = line.AtEnd() ? 0.0 : line.Number("keystone", -0.45, 0.45);
  projection.keystoneX = line.AtEnd() ? 0.0 : line.Number("keystone x", -0.45, 0.45);
  projection.barrel = line.AtEnd() ? 0.0 : line.Number("barrel", -0.2, 0.2);
}

void Monitor(ScenarioLine& line, ParserState& state, ScenarioStep&) {
  SimMonitor monitor;
  monitor.bounds.Left = static_cast<std::int32_t>(line.Integer("monitor x", -kMaxScreen, kMaxScreen));
  monitor.bounds.Top = static_cast<std::int32_t>(line.Integer("monitor y", -kMaxScreen, kMaxScreen));
  monitor.bounds.Width = static_cast<std::int32_t>(line.Integer("monitor width", 1, kMaxScreen));
  monitor.bounds.Height = static_cast<std::int32_t>(line.Integer("monitor height", 1, kMaxScreen));
  monitor.primary = line.Accept("primary");
  std::vector<SimMonitor>& monitors = state.scenario.settings.desktop.monitors;
  if (monitor.primary) {
    if (monitor.bounds.Left != 0 || monitor.bounds.Top != 0) {
      throw ScenarioLineError("the primary monitor's top-left is 0 0 on every desktop");
    }
    for (const SimMonitor& m : monitors) {
      if (m.primary) throw ScenarioLineError("a desktop has one primary monitor");
    }
  }
  monitors.push_back(monitor);
}

void Projector(ScenarioLine& line, ParserState& state, ScenarioStep&) {
  state.scenario.settings.desktop.projector =
      static_cast<std::size_t>(line.Integer("projector monitor", 1, kMaxMonitors) - 1);
}

void Display(ScenarioLine& line, ParserState& state, ScenarioStep& step) {
  const std::size_t count = std::max<std::size_t>(state.scenario.settings.desktop.monitors.size(), 1);
  step.kind = StepKind::Display;
  step.monitor = static_cast<std::size_t>(
      line.Integer("monitor", 1, static_cast<std::int64_t>(count)) - 1);
  if (line.Accept("off")) {
    step.change = DisplayChange::Off;
  } else if (line.Accept("on")) {
    step.change = DisplayChange::On;
  } else {
    step.change = DisplayChange::Resize;
    step.size.Width = static_cast<std::int32_t>(line.Integer("width", 1, kMaxScreen));
    step.size.Height = static_cast<std::int32_t>(line.Integer("height", 1, kMaxScreen));
  }
}

// A desktop of monitors: the projector's monitor gives the screen size the scenario's points
// are in, and without a primary named the first monitor is the primary.
void FinishDesktop(Scenario& scenario, std::vector<ScenarioError>& errors) {
  SimDesktop& desktop = scenario.settings.desktop;
  if (desktop.monitors.empty()) {
    desktop.projector = 0;
    return;
  }
  if (desktop.projector >= desktop.monitors.size()) {
    errors.push_back({0, "projector names a monitor the desktop does not have"});
    desktop.projector = 0;
  }
  if (std::none_of(desktop.monitors.begin(), desktop.monitors.end(),
                   [](const SimMonitor& m) { return m.primary; })) {
    desktop.monitors.front().primary = true;
  }
  const ScreenRect& picture = desktop.monitors[desktop.projector].bounds;
  scenario.settings.projection.screenWidth = picture.Width;
  scenario.settings.projection.screenHeight = picture.Height;
}

void Keys(ScenarioLine& line, ParserState& state, ScenarioStep&) {
  MarginKeyLayout& keys = state.scenario.settings.keys;
  keys.leftInnerEdge = line.Number("left edge", -kMaxCells, kMaxCells);
  keys.rightInnerEdge = line.Number("right edge", -kMaxCells, kMaxCells);
  keys.top = line.Number("top", -kMaxCells, kMaxCells);
  keys.bottom = line.Number("bottom", -kMaxCells, kMaxCells);
  if (!line.AtEnd()) keys.iconWidth = line.Number("icon width", 0.0, kMaxCells);
}

struct Command {
  std::string_view name;
  Handler handler;
};

constexpr Command kCommands[] = {
    {"touch", Touch},
    {"hover", Hover},
    {"right", Right},
    {"near", Near},
    {"stroke", Stroke},
    {"lift", Lift},
    {"wait", Wait},
    {"unplug", Unplug},
    {"plug", Plug},
    {"readfail", ReadFail},
    {"shortread", ShortRead},
    {"tapkey", TapKey},
    {"calibrate", Calibrate},
    {"keycalibrate", KeyCalibrate},
    {"menu", Menu},
    {"client", Client},
    {"pressure", Pressure},
    {"rate", Rate},
    {"queue", Queue},
    {"board", Board},
    {"pen", Pen},
    {"penright", PenRight},
    {"peak", Peak},
    {"hoverpeak", HoverPeak},
    {"nearpeak", NearPeak},
    {"noise", Noise},
    {"screen", Screen},
    {"projection", ProjectionLine},
    {"keys", Keys},
    {"monitor", Monitor},
    {"projector", Projector},
    {"display", Display},
};

bool AddsTime(const ScenarioStep& step) {
  return step.kind != StepKind::Wait || step.durationMicros > 0;
}

void ParseLine(std::string_view text, int lineNumber, ParserState& state) {
  ScenarioLine line(text);
  if (line.Empty()) return;
  const std::string name = line.Word("command");
  for (const Command& command : kCommands) {
    if (command.name != name) continue;
    ScenarioStep step;
    step.line = lineNumber;
    command.handler(line, state, step);
    line.End();
    if (AddsTime(step)) state.scenario.steps.push_back(step);
    return;
  }
  throw ScenarioLineError("unknown command '" + name + "'");
}

}  // namespace

ScenarioParse ParseScenario(std::string_view text) {
  ScenarioParse result;
  ParserState state{result.scenario};
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  int lineNumber = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view lineText = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    ++lineNumber;
    // A bad line leaves no trace, not even the settings it named before the error.
    const SimSettings settingsBefore = result.scenario.settings;
    const double pressureBefore = state.pressure;
    try {
      ParseLine(lineText, lineNumber, state);
    } catch (const ScenarioLineError& error) {
      result.scenario.settings = settingsBefore;
      state.pressure = pressureBefore;
      result.errors.push_back({lineNumber, error.what()});
    }
  }
  FinishDesktop(result.scenario, result.errors);
  return result;
}

std::vector<MonitorInfo> ListedMonitors(const SimDesktop& desktop) {
  std::vector<MonitorInfo> listed;
  for (std::size_t n = 0; n < desktop.monitors.size(); ++n) {
    const SimMonitor& m = desktop.monitors[n];
    listed.push_back({"\\\\.\\DISPLAY" + std::to_string(n + 1), m.bounds, m.primary});
  }
  return listed;
}

std::string FormatError(const ScenarioError& error) {
  return "line " + std::to_string(error.line) + ": " + error.message;
}

}  // namespace raz::sim
