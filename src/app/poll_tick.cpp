// Timer1Timer: one poll of the board, from the bytes it queued to the mouse events.
#include "app/poll_tick.h"

#include <algorithm>

#include "app/form1.h"
#include "board/device_link.h"
#include "board/interpolation.h"
#include "base/numeric.h"
#include "board/report_reader.h"
#include "calibration/screen_fit.h"
#include "calibration/transform.h"
#include "pointer/mouse_injection.h"
#include "pointer/pen_state_machine.h"
#include "shell/tray.h"

namespace raz {

// Only a new report is a sample: a poll that brings none decodes nothing and moves nothing,
// so the pen's counts (right-click cadence, calibration steps, stroke history) are counts of
// reports, not of polls.
void TForm1::Timer1Timer() {
  DriverState& s = state_;
  const std::uint64_t now = platform_.clock.NowMicros();
  // A lost link is opened again by the next device watch; until then there is nothing to read.
  if (s.link.LinkOpenPending) {
    s.reader.DataReceived = false;
    NotePoll(s.tray, false);
    // The board may come back with the pen on it: the idle time counts from its return.
    PaceTimer1(true, now);
    return;
  }
  if (s.penResponse == PenResponse::Responsive) {
    ReadEachReport(now);
    return;
  }
  const ReadResult read =
      ReadReports(platform_.usb, s.link.BoardLink, s.link.ReportFraming, s.reader);
  if (!NoteRead(read)) return;
  // The classic poll decodes the first report only; the others may still show a pen coming.
  const bool plain = s.link.ReportFraming == ReportFraming::Plain;
  const auto bytes = std::span<const std::uint8_t>(s.reader.ReceiveBuffer).first(read.Received);
  PaceTimer1(read.NewReport && (plain ? PlainReadShowsPen(bytes, s.pen)
                                      : ReportShowsPen(s.reader.ReportStore, s.pen)),
             now);
  if (!read.NewReport) {
    if (ButtonHeldWithoutReports(s.injector, s.reader.LastReportMicros, now)) LetGoOfTheButton();
    return;
  }
  s.reader.LastReportMicros = now;
  TakeReport(now);
}

// The responsive poll: every report of the read, in order, each stamped as if the reports had
// come evenly since the previous one.
void TForm1::ReadEachReport(std::uint64_t now) {
  DriverState& s = state_;
  const std::uint64_t previous = std::min(s.reader.LastReportMicros, now);
  bool penSeen = false;
  const ReadResult read =
      ReadEveryReport(platform_.usb, s.link.BoardLink, s.link.ReportFraming, s.reader,
                      [&](std::size_t index, std::size_t count) {
                        penSeen = penSeen || ReportShowsPen(s.reader.ReportStore, s.pen);
                        TakeReport(previous + (now - previous) * (index + 1) / count);
                      });
  if (!NoteRead(read)) return;
  PaceTimer1(penSeen, now);
  if (read.NewReport) {
    s.reader.LastReportMicros = now;
  } else if (ButtonHeldWithoutReports(s.injector, s.reader.LastReportMicros, now)) {
    LetGoOfTheButton();
  }
}

// What every poll does with its read: the tray, the rate line, and a lost link. False when the
// link is lost.
bool TForm1::NoteRead(const ReadResult& read) {
  DriverState& s = state_;
  NotePoll(s.tray, s.reader.DataReceived);
  if (s.RateMeasurement) Memo1.Append(kQueuedBytesLabel + std::to_string(read.Received));
  if (!read.LinkFailed) return true;
  MarkLinkLost(s.link);
  LetGoOfTheButton();
  return false;
}

void TForm1::PaceTimer1(bool penSeen, std::uint64_t now) {
  if (const auto interval = PacePoll(state_.pace, penSeen, now, Timer1.Interval)) {
    Timer1.Interval = *interval;
  }
}

// One new report in the store: decoded, judged, and handed to the pen.
void TForm1::TakeReport(std::uint64_t micros) {
  DriverState& s = state_;
  const DecodeResult decoded = DecodeReport(s.reader.ReportStore, s.pen, s.decoder);
  if (decoded.Diagnostic) Memo2.Append(*decoded.Diagnostic);
  TakeReading(s, decoded);
  // A contact swallowed after a calibration ends with the first report that is not a touch,
  // whether or not that report is strong enough to drive the pen.
  if (s.sample.Status != PenStatus::Touch) s.pointer.SwallowingContact = false;
  s.sample.Verdict =
      JudgeReport(s.sample, s.link.ReportFraming, WholeFrameStored(s.reader), s.pointer);
  if (s.screen.FindingTicks > 0) {
    FindStep();
  } else if (ReachesPen(s.sample.Verdict)) {
    DrivePointer(micros);
  }
}

// The pen cannot report its lift any more: the left button the driver holds is let go where
// its last event was, and the next touch presses anew.
void TForm1::LetGoOfTheButton() {
  DriverState& s = state_;
  if (!s.injector.LeftButtonDown) return;
  ReleaseLeftButton(s.screen.Place(), platform_.mouse, s.injector);
  ForgetContact(s.pointer);
}

void TakeReading(DriverState& s, const DecodeResult& decoded) {
  PenSample& sample = s.sample;
  const BoardReading& r = decoded.Reading;
  sample.Status = r.Status;
  sample.LevelX = r.LevelX;
  sample.LevelY = r.LevelY;
  sample.SampleRejected = r.SampleRejected;
  sample.DoublePeakX = r.DoublePeakX;
  sample.DoublePeakY = r.DoublePeakY;
  if (!decoded.RowsDecoded) return;

  const bool calibrating = IsCalibrating(s);
  const CalibrationRecord& calibration = s.calibration.Stored;
  const Interpolation at = InterpolatePosition(
      r, {s.keys, calibration.CalibrationScaleX, calibration.CalibrationScaleY, calibrating},
      s.interpolation);
  if (at.Change == PositionChange::None) return;
  if (at.Change == PositionChange::New) {
    sample.X = at.Position.x;
    sample.Y = at.Position.y;
    s.keyPlace.InKeyMargin = at.InKeyMargin;
    if (at.Zones) s.keyPlace.Zones = *at.Zones;
  }
  // A report that keeps the previous position keeps it in pixels: it is mapped once only.
  if (calibrating || at.Change != PositionChange::New) return;
  if (sample.Status != PenStatus::Touch && sample.Status != PenStatus::Hover) return;
  const ScreenPoint pixel = MapToPixel(s, {sample.X, sample.Y});
  sample.X = pixel.x;
  sample.Y = pixel.y;
}

// The calibration's pixel, on a picture of the tour's size or, in proportion, of today's.
ScreenPoint MapToPixel(DriverState& s, BoardPoint point) {
  CalibrationState& c = s.calibration;
  const ScreenFit fit{c.TourScreen, s.screen.Size()};
  const std::int32_t offsetX = c.Stored.ScreenOffsetX;
  const std::int32_t offsetY = c.Stored.ScreenOffsetY;
  const Mapping mapping = c.MappingInForce;
  if (!fit.Needed()) return MapToScreen(point, c.Model, offsetX, offsetY, mapping);
  const PointD pixel =
      FitToScreen(MapToTourPixels(point, c.Model, offsetX, offsetY, mapping), fit);
  return {TruncToInt(pixel.x), TruncToInt(pixel.y)};
}

void TForm1::DrivePointer(std::uint64_t micros) {
  DriverState& s = state_;
  const PenContext context{s.calibration.Tour.CalibrationActive,
                           s.keyCalibration.KeyCalibrationActive,
                           s.keyPlace.InKeyMargin,
                           s.keyPlace.Zones.KeyZoneHit,
                           s.penResponse,
                           micros};
  const PenStep step = RunPenStateMachine(s.sample, context, s.pointer);
  if (step.Smoothed) {
    s.sample.X = step.Smoothed->x;
    s.sample.Y = step.Smoothed->y;
  }
  // The responsive pen keeps its one-millisecond poll whatever the speed.
  if (step.PollInterval && s.penResponse == PenResponse::Classic) {
    Timer1.Interval = *step.PollInterval;
  }
  if (step.HoldTimer == HoldTimerChange::Arm) Timer3.Enabled = true;
  if (step.HoldTimer == HoldTimerChange::Disarm) Timer3.Enabled = false;
  if (step.CalibrationStepDue) CalibrationStep();
  if (step.KeyCalibrationStepDue) KeyCalibrationStep();
  InjectCommand(step.Command);
  if (step.ReleaseHeldButton) ReleaseLeftButton(s.screen.Place(), platform_.mouse, s.injector);
}

void TForm1::InjectCommand(const PointerCommand& command) {
  DriverState& s = state_;
  const InjectContext context{s.sample.Verdict, s.keyPlace.InKeyMargin, s.screen.Place()};
  switch (Inject(command, context, platform_.mouse, s.injector)) {
    case InjectOutcome::KeyAction:
      KeyAction();
      break;
    case InjectOutcome::FinishCalibration:
      FinishCalibration();
      break;
    case InjectOutcome::Done:
      break;
  }
}

ReportVerdict JudgeReport(const PenSample& sample, ReportFraming framing, bool wholeFrameStored,
                          const PointerState& pointer) {
  if (sample.SampleRejected) return ReportVerdict::RejectedSample;
  const bool signal = sample.LevelY > kSignalLevel;
  if (framing == ReportFraming::Plain && !signal) return ReportVerdict::WeakSignal;
  if (framing == ReportFraming::Framed && !wholeFrameStored) return ReportVerdict::PartialFrame;
  if (pointer.SwallowingContact && sample.Status == PenStatus::Touch) {
    return ReportVerdict::SwallowedContact;
  }
  return signal ? ReportVerdict::DrivesPen : ReportVerdict::SilentFrame;
}

}  // namespace raz
