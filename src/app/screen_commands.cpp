// The board's monitor: the choice from the menu, the choice by touch, and finding it again
// whenever the displays change.
#include <cmath>
#include <string>

#include "app/board_screen.h"
#include "app/canvas.h"
#include "app/form1.h"
#include "calibration/usable_calibration.h"
#include "pointer/mouse_injection.h"
#include "pointer/pen_state_machine.h"
#include "shell/language.h"
#include "storage/data_files.h"
#include "storage/settings.h"
#include "vkeys/key_calibration.h"

namespace raz {
namespace {

// The device watches a touch is awaited for (2 s each) before the surface gives up.
constexpr int kFindingTicks = 15;
// How far from its cross, in fractions of the picture, a touch still picks a monitor.
constexpr double kFindingReach = 0.15;

}  // namespace

ScreenPoint FindingCross(std::size_t n, std::size_t count, ScreenRect monitor) {
  const double f = static_cast<double>(n + 1) / static_cast<double>(count + 1);
  return {monitor.Left + static_cast<std::int32_t>(monitor.Width * f),
          monitor.Top + static_cast<std::int32_t>(monitor.Height * f)};
}

std::optional<std::size_t> PickByTouch(ScreenPoint touch, ScreenSize picture, std::size_t count) {
  if (picture.Width <= 0 || picture.Height <= 0) return std::nullopt;
  const double fx = static_cast<double>(touch.x) / picture.Width;
  const double fy = static_cast<double>(touch.y) / picture.Height;
  std::optional<std::size_t> nearest;
  double best = kFindingReach;
  for (std::size_t n = 0; n < count; ++n) {
    const double f = static_cast<double>(n + 1) / static_cast<double>(count + 1);
    const double d = std::hypot(fx - f, fy - f);
    if (d <= best) {
      best = d;
      nearest = n;
    }
  }
  return nearest;
}

// The board's monitor found again: its size may have changed, or the pen's monitor with it
// (the chosen one unplugged or back). A button held on the old one is let go there first.
void TForm1::FollowDisplays() {
  DriverState& s = state_;
  const ScreenSize before = s.screen.Size();
  const ScreenPlace place = s.screen.Place();
  const ScreenRect monitor = s.screen.Monitor;
  RefreshScreen(s.screen, platform_.display);
  if (s.screen.Monitor != monitor && s.injector.LeftButtonDown) {
    ReleaseLeftButton(place, platform_.mouse, s.injector);
    ForgetContact(s.pointer);
  }
  FollowScreenSize(s.calibration, s.screen.ScreenWidth, s.screen.ScreenHeight);
  if (s.screen.Size() != before || s.screen.Monitor != monitor) FollowScreenOnSurface();
  ShowMonitors();
  if (s.screen.FindingTicks > 0) ShowFindingCrosses();
}

// N9's items: each monitor by its number, resolution and whether it is the primary, the one
// the board is on checked.
void TForm1::ShowMonitors() {
  const ScreenState& screen = state_.screen;
  Screens.clear();
  for (const MonitorInfo& m : screen.Monitors) {
    MenuItem item;
    item.Caption = MonitorCaption(m, CaptionsOf(language_).Primary);
    item.RadioItem = true;
    item.Checked = m.Bounds == screen.Monitor;
    Screens.push_back(std::move(item));
  }
}

// The choice is kept by the monitor's name, so that the board finds it again after a restart
// or a change of its resolution or place. Chosen, it is in use at once.
void TForm1::ScreenClick(std::size_t n) {
  DriverState& s = state_;
  if (n >= s.screen.Monitors.size()) return;
  const std::string name = s.screen.Monitors[n].Name;
  SettingsFile(platform_.profile, ProgramFile(platform_.files, kSettingsFileName))
      .WriteString(Section::Parameters, Key::BoardMonitor, name);
  s.screen.BoardMonitor = name;
  FollowDisplays();
}

// Touch the board to find its monitor: a red cross on every monitor, each at another place
// along its diagonal. The board sees only the picture the projector throws on it, so the cross
// the pen lands on is the one of the board's monitor; the calibration in force, made on that
// picture or the default over the whole board, tells roughly where on the picture the pen is.
void TForm1::N10Click() {
  DriverState& s = state_;
  if (s.keyCalibration.KeyCalibrationActive) CancelKeyCalibration(s.keyCalibration);
  if (s.calibration.Tour.CalibrationActive) CancelCalibration();
  s.screen.FindingTicks = kFindingTicks;
  Window.Visible = true;
  Window.State = WindowState::Maximized;
  for (Control* c : std::initializer_list<Control*>{
           &button1, &Button3, &Label1, &Label2, &Label3, &Label4, &Label5, &Label6, &Label7,
           &Label8, &Label13, &Label14, &Label15, &Memo1, &Memo2, &Memo3, &Button4, &Button5}) {
    c->Visible = false;
  }
  ShowFindingCrosses();
}

void TForm1::ShowFindingCrosses() {
  const ScreenState& screen = state_.screen;
  Window.Cover = screen.Desktop;
  CoverScreen(Image1, screen.Desktop.Size());
  for (std::size_t n = 0; n < screen.Monitors.size(); ++n) {
    const ScreenPoint at = FindingCross(n, screen.Monitors.size(), screen.Monitors[n].Bounds);
    DrawCross(Image1, {at.x - screen.Desktop.Left, at.y - screen.Desktop.Top}, kRed);
  }
}

// A touch while the crosses are shown: near one, its monitor is the board's. Nothing of the
// touch reaches the mouse, before or after.
void TForm1::FindStep() {
  DriverState& s = state_;
  if (s.sample.Verdict != ReportVerdict::DrivesPen || s.sample.Status != PenStatus::Touch) return;
  const auto picked =
      PickByTouch({s.sample.X, s.sample.Y}, s.screen.Size(), s.screen.Monitors.size());
  if (!picked) return;
  // The touch goes on: the rest of it must not click on the monitor just chosen.
  ForgetContact(s.pointer);
  s.pointer.SwallowingContact = true;
  EndFinding();
  ScreenClick(*picked);
}

void TForm1::EndFinding() {
  state_.screen.FindingTicks = 0;
  FillImage(Image1, kWhite);
  Window.Visible = false;
}

}  // namespace raz
