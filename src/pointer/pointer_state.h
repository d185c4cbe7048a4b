#pragma once
// The pen state machine's input, its state and what it hands on.
#include <array>
#include <cstdint>
#include <optional>

#include "base/pen_status.h"
#include "base/points.h"
#include "pointer/one_euro.h"
#include "pointer/poll_pace.h"

namespace raz {

// What one new report may do with the pen; the poll tick judges it (JudgeReport, app).
enum class ReportVerdict {
  DrivesPen,         // the state machine takes the sample and the injector emits its action
  SilentFrame,       // a whole frame at or below the signal level: the state machine takes it,
                     // the injector emits nothing
  RejectedSample,    // the decoder placed a row in no block
  WeakSignal,        // a plain report at or below the signal level
  PartialFrame,      // framed: no whole frame with its start and end bytes in the store
  SwallowedContact,  // the rest of a touch that went on when a calibration ended
};

// The state machine takes the sample.
constexpr bool ReachesPen(ReportVerdict verdict) {
  return verdict == ReportVerdict::DrivesPen || verdict == ReportVerdict::SilentFrame;
}

// The one current sample. Its position is in screen pixels, or in raw board units while a
// calibration collects points.
struct PenSample {
  PenStatus Status = PenStatus::NoPen;  // the sample's PenStatus
  std::int32_t X = 0;
  std::int32_t Y = 0;
  std::int32_t LevelX = 0;
  std::int32_t LevelY = 0;
  bool SampleRejected = false;
  bool DoublePeakX = false;
  bool DoublePeakY = false;
  ReportVerdict Verdict = ReportVerdict::WeakSignal;
};

// What the rest of the driver says about the sample: whether a calibration collects points,
// and where the sample lies against the margin keys.
struct PenContext {
  bool CalibrationActive = false;
  bool KeyCalibrationActive = false;
  bool InKeyMargin = false;
  std::array<bool, 3> KeyZoneHit{};
  PenResponse Response = PenResponse::Classic;
  std::uint64_t Micros = 0;  // when the sample's report arrived
  bool Calibrating() const { return CalibrationActive || KeyCalibrationActive; }
};

// Action handed with a pixel position to the mouse injector.
enum class PointerAction : std::int32_t {
  None = 0,
  Press = 1,
  DragMove = 2,
  Lift = 3,
  HoverMove = 4,
  FinishCalibration = 5,
  Release = 6,
  RightClick = 8,
};

struct PointerCommand {
  PointerAction Action = PointerAction::None;
  ScreenPoint At;
};

enum class HoldTimerChange { None, Arm, Disarm };

// The outcome of one sample.
struct PenStep {
  PointerCommand Command;                     // a sample causes one action at most
  std::optional<std::uint32_t> PollInterval;  // Timer1's new interval, set by a drag
  HoldTimerChange HoldTimer = HoldTimerChange::None;
  bool CalibrationStepDue = false;      // every fifth continuing touch sample of a tour
  bool KeyCalibrationStepDue = false;   // the same for the key calibration
  bool ReleaseHeldButton = false;       // no pen: a left button still held must go up
  std::optional<ScreenPoint> Smoothed;  // the drag sample's position after smoothing
};

struct PointerState {
  PenStatus PrevStatus = PenStatus::Hover;
  std::int32_t PrevX = 0;
  std::int32_t PrevY = 0;
  std::int32_t HoverAnchorX = 0;
  std::int32_t HoverAnchorY = 0;
  std::int32_t RightCount = 0;
  std::int32_t CalibrationSampleCount = 0;
  std::int32_t KeyCalibrationSampleCount = 0;
  // Only the three newest positions of a stroke are ever read, so the history is a ring of
  // three indexed by HistoryCount.
  std::int32_t HistoryCount = 0;
  std::array<std::int32_t, 3> HistoryX{};
  std::array<std::int32_t, 3> HistoryY{};
  float SmoothedX = 0.0f;
  float SmoothedY = 0.0f;
  bool KeyHoldPending = false;
  // Responsive: the stroke's filter, and when a sample last counted towards the right-click
  // cadence or a calibration step.
  OneEuroState Filter;
  std::uint64_t LastCountedMicros = 0;
  // There is a touch position in pixels to release at: the pen has touched since start-up and
  // since the last calibration ended.
  bool TouchSeen = false;
  // The touch that completed a calibration goes on in raw board units: it drives nothing
  // until the pen leaves the board.
  bool SwallowingContact = false;
};

// Whether the driver holds the left button down, and the pixel of the last event it emitted:
// a button that must be let go without a fresh sample is released there.
struct InjectorState {
  bool LeftButtonDown = false;
  ScreenPoint LastEvent;
};

}  // namespace raz
