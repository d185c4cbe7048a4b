// The screen calibration as the user sees it: the white surface with one red cross at a time,
// its two buttons, the tour fed by the poll tick, and the finish that puts the new
// calibration in force and saves it.
#include <algorithm>
#include <string>

#include "app/canvas.h"
#include "app/form1.h"
#include "app/form2.h"
#include "calibration/tour.h"
#include "calibration/transform.h"
#include "pointer/mouse_injection.h"
#include "pointer/pen_state_machine.h"
#include "storage/data_files.h"
#include "storage/settings.h"
#include "vkeys/key_calibration.h"

namespace raz {
namespace {

constexpr int kButtonGap = 10;
constexpr int kButtonsBelowCentre = 100;
// Label1, the teacher's instruction: below the top row of crosses, clear of the side ones.
constexpr int kPromptInset = 96;

std::string CrossPrompt(const SurfaceTexts& texts, int step) {
  std::string prompt = texts.CrossPrompt;
  const std::size_t at = prompt.find("{n}");
  if (at != std::string::npos) prompt.replace(at, 3, std::to_string(step + 1));
  return prompt;
}

}  // namespace

void TForm1::AttachDialog(TForm2& form2) {
  form2_ = &form2;
  form2.MappingAccepted = [this](Mapping mapping) { ChooseMapping(mapping); };
}

// Both mappings come from the same nine points, so a switch needs no new tour.
void TForm1::ChooseMapping(Mapping mapping) {
  CalibrationState& c = state_.calibration;
  if (mapping == c.MappingInForce) return;
  c.MappingInForce = mapping;
  SettingsFile(platform_.profile, ProgramFile(platform_.files, kSettingsFileName))
      .WriteInteger(Section::Parameters, Key::Mapping, StoredNumber(mapping));
}

void TForm1::N1Click() { StartCalibration(); }

void TForm1::Button3Click() { StartCalibration(); }

void TForm1::Button1Click() { CancelCalibration(); }

void TForm1::FormKeyDown(int key) {
  if (key != kEscapeKey) return;
  if (state_.screen.FindingTicks > 0) EndFinding();
  if (state_.keyCalibration.KeyCalibrationActive) EndKeyCalibration();
  if (state_.calibration.Tour.CalibrationActive) CancelCalibration();
}

void TForm1::StartCalibration(const char* note) {
  DriverState& s = state_;
  // One surface at a time: a key calibration in progress gives way, as Esc would end it.
  if (s.keyCalibration.KeyCalibrationActive) CancelKeyCalibration(s.keyCalibration);
  s.screen.FindingTicks = 0;
  Window.Visible = true;
  Window.State = WindowState::Maximized;
  Window.Cover = s.screen.Monitor;
  s.interpolation.CellSizeX = 10.0f;
  s.interpolation.CellSizeY = 10.0f;
  StartTour(s.calibration.Tour);

  const ScreenSize screen = s.screen.Size();
  const int top = screen.Height / 2 + kButtonsBelowCentre;
  button1.Left = screen.Width / 2 + kButtonGap;
  button1.Top = top;
  Button3.Left = screen.Width / 2 - button1.Width - kButtonGap;
  Button3.Top = top;
  // A key calibration before hid them.
  button1.Visible = Button3.Visible = Label1.Visible = Label2.Visible = true;
  Label1.Width = std::max(screen.Width - 2 * kPromptInset, 0);
  Label1.Caption = CrossPrompt(SurfaceTextsOf(language_), 0);
  if (note != nullptr) Label1.Caption = std::string(note) + "\n" + Label1.Caption;

  // The surface covers the whole screen, however large, so that every target is on it.
  CoverScreen(Image1, screen);
  DrawCross(Image1, CalibrationTarget(0, screen), kRed);
  for (Control* c : std::initializer_list<Control*>{&Label3, &Label4, &Label5, &Label6, &Label7,
                                                    &Label8, &Label13, &Label14, &Label15, &Memo1,
                                                    &Memo2, &Memo3, &Button4, &Button5}) {
    c->Visible = false;
  }
}

void TForm1::CalibrationStep() {
  DriverState& s = state_;
  const InterpolationState& at = s.interpolation;
  const TourStepResult result =
      ::raz::CalibrationStep({s.sample.LevelX, s.sample.LevelY, s.keyPlace.InKeyMargin,
                              at.CalibrationSampleX, at.CalibrationSampleY},
                             s.calibration.Tour);
  const ScreenSize screen = s.screen.Size();
  switch (result.Outcome) {
    case TourOutcome::Advanced:
      DrawCross(Image1, CalibrationTarget(result.Step, screen), kWhite);
      DrawCross(Image1, CalibrationTarget(result.Step + 1, screen), kRed);
      Label1.Caption = CrossPrompt(SurfaceTextsOf(language_), result.Step + 1);
      break;
    case TourOutcome::Completed:
      DrawCross(Image1, CalibrationTarget(result.Step, screen), kWhite);
      Window.Visible = false;
      InjectCommand({PointerAction::FinishCalibration, {s.sample.X, s.sample.Y}});
      break;
    case TourOutcome::Ignored:
    case TourOutcome::TooClose:
      break;
  }
}

void TForm1::FinishCalibration() {
  DriverState& s = state_;
  CalibrationState& c = s.calibration;
  const FinishedTour done = FinishTour(c.Tour, s.screen.Size(), c.Stored);
  // The pen still rests on the centre target, its position in raw board units: the rest of
  // the contact must neither click nor be taken for the first target of a new round.
  SwallowContact(s.pointer);
  if (done.Refusal != TourRefusal::None) {
    // Nothing is applied or saved: the user goes round again from the first target, told why.
    StartCalibration(SurfaceTextsOf(language_).TourRefused);
    return;
  }
  c.Stored = done.Record;
  c.TourScreen = s.screen.Size();
  c.DefaultForWidth = c.DefaultForHeight = 0;
  BuildCalibrationModel(c.Model, c.Stored.CalibrationPoints);
  c.Tour.CalibrationActive = false;
  ++c.ToursApplied;
  // The new calibration is in force either way; a refused save would lose it at the next
  // start without a word, so the teacher is told, once.
  if (!SaveCalibration(platform_.files, c.Stored, s.interpolation.InterpolationSpan)) {
    throw DataFileWriteError(ProgramFile(platform_.files, kCalibrationFileName));
  }
  SettingsFile ini(platform_.profile, ProgramFile(platform_.files, kSettingsFileName));
  ini.WriteInteger(Section::Parameters, Key::CalibrationWidth, c.TourScreen.Width);
  ini.WriteInteger(Section::Parameters, Key::CalibrationHeight, c.TourScreen.Height);
}

// The display changed size while a calibration ran. The surface and the crosses were laid out
// for the old size, and the points taken so far were aimed at crosses that now stand elsewhere:
// a tour finished with them would be off by the change. Either calibration starts again on a
// surface of the new size, rather than being cancelled: the teacher asked for it and is at the
// board, and the calibration in force stays in force until the new one is complete.
void TForm1::FollowScreenOnSurface() {
  if (!IsCalibrating(state_)) return;
  // A pen on the board touched an old cross: it must not be taken for the first new one.
  SwallowContact(state_.pointer);
  if (state_.calibration.Tour.CalibrationActive) {
    StartCalibration(SurfaceTextsOf(language_).ScreenChanged);
  } else if (state_.keyCalibration.KeyCalibrationActive) {
    N6Click();
  }
}

// Cancel ends the tour: the calibration in force stays, and the pen works again at once.
void TForm1::CancelCalibration() {
  DriverState& s = state_;
  s.RateMeasurement = false;
  Memo2.Lines.clear();
  FillImage(Image1, kWhite);
  Window.Visible = false;
  s.calibration.Tour.CalibrationActive = false;
  SwallowContact(s.pointer);
}

}  // namespace raz
