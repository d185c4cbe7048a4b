#pragma once
// A pen scenario: the board's settings and a list of timed steps, as read from a scenario
// text (see README.md for the format).
#include <cstdint>
#include <string>
#include <vector>

#include "platform/display.h"
#include "sim/margin_keys.h"
#include "sim/pen_state.h"
#include "sim/projection.h"
#include "sim/sim_board.h"

namespace raz::sim {

// One monitor of the desktop, in virtual-desktop pixels.
struct SimMonitor {
  ScreenRect bounds;
  bool primary = false;
};

// The monitors, in the order the system lists them (named \\.\DISPLAY1, 2, ... in that
// order), and the one whose picture lies on the board (0-based). No monitor: one primary of
// the projection's screen size.
struct SimDesktop {
  std::vector<SimMonitor> monitors;
  std::size_t projector = 0;
};

// Everything about the simulated setup that a scenario may set.
struct SimSettings {
  SimBoardConfig board{};
  ProjectionConfig projection{};
  MarginKeyLayout keys{};
  SimDesktop desktop{};
};

// The desktop as the system would list it.
std::vector<MonitorInfo> ListedMonitors(const SimDesktop& desktop);

enum class Units { Pixels, Cells };

struct ScenarioPoint {
  double x = 0.0;
  double y = 0.0;
  Units units = Units::Pixels;
  bool operator==(const ScenarioPoint&) const = default;
};

enum class StepKind {
  Pen,           // the pen takes a contact at a point and stays for the duration
  Stroke,        // the pen moves from one point to another over the duration
  Wait,          // time passes, nothing changes
  Unplug,        // the board's cable comes out
  Plug,          // ... and goes back in
  ReadFail,      // the next reads fail
  ShortRead,     // the next reads bring fewer bytes than are queued
  TapKey,        // touch a margin icon for the hold time, then lift
  Calibrate,     // touch the nine screen-calibration targets in tour order
  KeyCalibrate,  // touch the three key-calibration points in order
  Menu,          // the user gives the driver a command (menu item, button, key): no time
  Client,        // a client application sends the driver a request message: no time
  Display,       // a monitor is switched off, on, or to another resolution: no time
};

enum class DisplayChange { Off, On, Resize };

struct ScenarioStep {
  StepKind kind = StepKind::Wait;
  int line = 0;  // line of the scenario text, for messages
  PenContact contact = PenContact::Away;
  ScenarioPoint from;
  ScenarioPoint to;
  std::uint64_t durationMicros = 0;  // Pen, Stroke, Wait, Unplug, Plug
  std::uint64_t holdMicros = 0;      // TapKey, Calibrate, KeyCalibrate: pen down per point
  std::uint64_t gapMicros = 0;       // Calibrate, KeyCalibrate: pen up between points
  double pressure = 1.0;
  Margin margin = Margin::Left;
  int icon = 1;
  std::uint32_t count = 0;  // ReadFail, ShortRead
  std::string item;         // Menu: the command's name as written, in lower case
  std::int64_t wParam = 0;  // Client
  std::int64_t lParam = 0;  // Client
  std::size_t monitor = 0;  // Display: 0-based
  DisplayChange change = DisplayChange::Off;
  ScreenSize size;  // Display: Resize
};

struct Scenario {
  SimSettings settings;
  std::vector<ScenarioStep> steps;
};

}  // namespace raz::sim
