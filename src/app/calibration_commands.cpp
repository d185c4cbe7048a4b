// The screen calibration as the user sees it: the white surface with one red cross at a time,
// its two buttons, the tour fed by the poll tick, and the finish that puts the new
// calibration in force and saves it.
#include "app/canvas.h"
#include "app/form1.h"
#include "calibration/tour.h"
#include "calibration/transform.h"
#include "pointer/mouse_injection.h"
#include "pointer/pen_state_machine.h"
#include "storage/data_files.h"
#include "vkeys/key_calibration.h"

namespace raz {
namespace {

constexpr int kButtonGap = 10;
constexpr int kButtonsBelowCentre = 100;

}  // namespace

void TForm1::N1Click() { StartCalibration(); }

void TForm1::Button3Click() { StartCalibration(); }

void TForm1::Button1Click() { CancelCalibration(); }

void TForm1::FormKeyDown(int key) {
  if (key != kEscapeKey) return;
  if (state_.keyCalibration.KeyCalibrationActive) EndKeyCalibration();
  if (state_.calibration.Tour.CalibrationActive) CancelCalibration();
}

void TForm1::StartCalibration() {
  DriverState& s = state_;
  // One surface at a time: a key calibration in progress gives way, as Esc would end it.
  if (s.keyCalibration.KeyCalibrationActive) CancelKeyCalibration(s.keyCalibration);
  Window.Visible = true;
  Window.State = WindowState::Maximized;
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
  button1.Visible = Button3.Visible = true;

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
      ::raz::CalibrationStep({s.sample.LevelX, s.sample.LevelY, at.InKeyMargin,
                              at.CalibrationSampleX, at.CalibrationSampleY},
                             s.calibration.Tour);
  const ScreenSize screen = s.screen.Size();
  switch (result.Outcome) {
    case TourOutcome::Advanced:
      DrawCross(Image1, CalibrationTarget(result.Step, screen), kWhite);
      DrawCross(Image1, CalibrationTarget(result.Step + 1, screen), kRed);
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
    // Nothing is applied or saved: the user goes round again from the first target.
    StartCalibration();
    return;
  }
  c.Stored = done.Record;
  c.DefaultForWidth = c.DefaultForHeight = 0;
  BuildCalibrationModel(c.Model, c.Stored.CalibrationPoints);
  c.Tour.CalibrationActive = false;
  ++c.ToursApplied;
  SaveCalibration(platform_.files, c.Stored, s.interpolation.InterpolationSpan);
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
