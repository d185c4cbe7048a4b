// Timer2Timer: every two seconds, apply the settings dialog's confirmed choice, watch the
// display, refresh the tray icon, and probe and open the board.
#include "app/form1.h"
#include "app/form2.h"
#include "board/device_link.h"
#include "calibration/usable_calibration.h"
#include "pointer/mouse_injection.h"
#include "pointer/pen_state_machine.h"
#include "shell/tray.h"
#include "storage/data_files.h"

namespace raz {

void TForm1::Timer2Timer() {
  DriverState& s = state_;
  const std::optional<BoardChoice> choice =
      form2_ != nullptr ? form2_->PendingChoice() : std::nullopt;
  if (choice) {
    ApplyBoardChoice(*choice, s.link);
    SaveFlag(platform_.files, kFramingFileName, StoredNumber(s.link.ReportFraming));
    SaveFlag(platform_.files, kBoardModelFileName, s.link.BoardModel);
  }
  FollowDisplays();
  TakePolls(s.tray, s.reader.DataReceived);
  TrayModify();

  const LinkWatch watch = WatchLink(platform_.usb, s.link, choice.has_value());
  if (watch.Found) {
    Label2.Caption = kBoardFoundText;
    TrayModify();
    if (watch.Opened && !Timer1.Enabled) Timer1.Enabled = true;
  } else {
    Label2.Caption = kBoardMissingText;
    LetGoOfTheButton();
  }
  // Only now: a confirmed framing also reopened the link above.
  if (choice) form2_->ChoiceApplied();
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
}

}  // namespace raz
