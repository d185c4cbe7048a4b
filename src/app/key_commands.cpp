// The margin keys as the user meets them: the key calibration with its three prompts, the
// action of a tap, the hold message, the hotkey switch and the client's requests.
#include "app/canvas.h"
#include "app/form1.h"
#include "pointer/pen_state_machine.h"
#include "storage/settings.h"
#include "vkeys/key_actions.h"
#include "vkeys/key_calibration.h"

namespace raz {

void TForm1::N6Click() {
  DriverState& s = state_;
  // One surface at a time: a running screen calibration gives way, as Cancel would end it.
  if (s.calibration.Tour.CalibrationActive) CancelCalibration();
  s.screen.FindingTicks = 0;
  Window.Visible = true;
  Window.State = WindowState::Maximized;
  Window.Cover = s.screen.Monitor;
  CoverScreen(Image1, s.screen.Size());
  StartKeyCalibration(s.keyCalibration);
  s.pointer.KeyCalibrationSampleCount = 0;
  Label13.Visible = true;
  Label15.Visible = Label14.Visible = false;
  // Label3 and Label4 too: their design captions would stand on the white surface.
  for (Control* c : std::initializer_list<Control*>{
           &Label1, &Label2, &Label3, &Label4, &Label5, &Label6, &Label7, &Label8, &Memo1, &Memo2,
           &Memo3, &button1, &Button3, &Button4, &Button5}) {
    c->Visible = false;
  }
}

void TForm1::KeyCalibrationStep() {
  DriverState& s = state_;
  const InterpolationState& at = s.interpolation;
  switch (::raz::KeyCalibrationStep(s.sample.LevelX, {at.CalibrationSampleX, at.CalibrationSampleY},
                                    s.keyCalibration)) {
    case KeyCalibrationOutcome::FirstTaken:
      Label13.Visible = Label15.Visible = false;
      Label14.Visible = true;
      break;
    case KeyCalibrationOutcome::SecondTaken:
      Label13.Visible = Label14.Visible = false;
      Label15.Visible = true;
      break;
    case KeyCalibrationOutcome::Finished: {
      SettingsFile ini(platform_.profile, ProgramFile(platform_.files, kSettingsFileName));
      try {
        SaveKeyPoints(ini, s.keyCalibration);
      } catch (const SettingsWriteError&) {
        // Said once: the key calibration ends with the layout of before in force, rather than
        // retrying (and reporting) on every fifth sample and taking a later ordinary touch for
        // the third corner once the file can be written again.
        EndKeyCalibration();
        throw;
      }
      FinishKeyCalibration(s.keyCalibration, s.keys);
      SwallowContact(s.pointer);  // the pen on the third corner is in raw units
      Window.Visible = false;
      break;
    }
    case KeyCalibrationOutcome::Ignored:
    case KeyCalibrationOutcome::SecondRetry:
    case KeyCalibrationOutcome::ThirdRetry:
      break;
  }
}

// Esc during the key calibration, or a layout that cannot be stored: the layout stays as it
// was and the surface goes away.
void TForm1::EndKeyCalibration() {
  CancelKeyCalibration(state_.keyCalibration);
  SwallowContact(state_.pointer);
  Label13.Visible = Label14.Visible = Label15.Visible = false;
  FillImage(Image1, kWhite);
  Window.Visible = false;
}

void TForm1::KeyAction() {
  DriverState& s = state_;
  const MarginKeyAction action = KeyActionAt(s.keyPlace.Zones.RawBoardY, s.keys);
  if (action.StartsCalibration) {
    StartCalibration();
  } else if (action.Command) {
    platform_.messenger.Post(s.client.ClientWindow, kKeyActionMessage, *action.Command, 0);
  }
}

// The hold: the newest sample's zones when the timer fires, one message per zone.
void TForm1::Timer3Timer() {
  DriverState& s = state_;
  if (!s.pointer.KeyHoldPending) return;
  s.pointer.KeyHoldPending = false;
  for (const std::uintptr_t zone : HoldKeyParams(s.keyPlace.Zones.KeyZoneHit)) {
    const WindowHandle target = platform_.messenger.FindWindow(s.holdTarget.TargetWindowClass,
                                                               s.holdTarget.TargetWindowCaption);
    if (target != 0) platform_.messenger.Post(target, kHoldKeyMessage, zone, kHoldKeyLParam);
  }
  Timer3.Enabled = false;
}

void TForm1::N4Click() {
  // The check mark changes first: a refused write leaves it changed and the margins not.
  N4.Checked = !N4.Checked;
  SettingsFile ini(platform_.profile, ProgramFile(platform_.files, kSettingsFileName));
  SwitchHotkeys(ini, N4.Checked, state_.keys);
}

std::intptr_t TForm1::ClientRequestMessage(std::uintptr_t wParam, std::intptr_t lParam) {
  return AnswerClientRequest(wParam, lParam, state_.link.BoardPresent, platform_.messenger,
                             state_.client);
}

}  // namespace raz
