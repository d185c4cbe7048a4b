// Timer2Timer: every two seconds, apply the settings dialog's confirmed choice, watch the
// display, refresh the tray icon, and probe and open the board.
#include "app/form1.h"
#include "app/form2.h"
#include "board/device_link.h"
#include "shell/tray.h"
#include "storage/data_files.h"
#include "storage/settings.h"

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
  if (s.screen.FindingTicks > 0 && --s.screen.FindingTicks == 0) EndFinding();
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
  if (choice) ApplyPenResponse(*form2_->PendingPenResponse());
  // Only now: a confirmed framing also reopened the link above.
  if (choice) form2_->ChoiceApplied();
}

// A new response mode polls at its own pace from the next tick, and is stored; confirming the
// mode in force writes nothing.
void TForm1::ApplyPenResponse(PenResponse response) {
  DriverState& s = state_;
  if (response == s.penResponse) return;
  s.penResponse = response;
  if (s.pace.Idle) {
    s.pace.BusyInterval = BusyPollInterval(response);
  } else {
    Timer1.Interval = BusyPollInterval(response);
  }
  SettingsFile ini(platform_.profile, ProgramFile(platform_.files, kSettingsFileName));
  ini.WriteInteger(Section::Parameters, Key::PenResponse, static_cast<std::int32_t>(response));
}

}  // namespace raz
