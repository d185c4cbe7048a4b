#include "pointer/pen_state_machine.h"

#include <cstdlib>

#include "app/form1.h"
#include "pointer/calibration_hooks.h"
#include "pointer/mouse_injection.h"
#include "pointer/stroke_history.h"

// A contact is a run of samples with one status. The first touch sample presses, later ones
// drag; hover lifts and moves; no pen releases; the right-button pen clicks every third
// repeat. The board misreads now and then: a sample far from the previous one, or one whose
// row shows two peaks, is dropped rather than drawn, and the previous position stays the
// reference. The poll interval follows the pen: slow drags are sampled every 20 ms, fast
// ones every 5 ms.

namespace raz {
namespace {

constexpr std::int32_t kPressLevel = 35;        // both levels above this to press
constexpr std::int32_t kRightClickLevel = 30;   // LevelY above this for a right-click
constexpr std::int32_t kHoverLevel = 60;        // LevelY below this: hover too faint to follow
constexpr std::int32_t kSamplesPerStep = 5;     // calibration steps on every fifth sample
constexpr std::int32_t kRightClickRepeats = 3;  // right-click on every third repeat
constexpr std::int64_t kHoverDeadZone = 2;      // hover moves under this are jitter
constexpr std::int64_t kHoverJump = 120;        // hover moves over this re-anchor silently

std::int64_t Distance(std::int32_t a, std::int32_t b) {
  return std::llabs(static_cast<std::int64_t>(a) - b);
}

std::uint32_t PollInterval(std::int64_t dx, std::int64_t dy) {
  if (dx < 4 && dy < 4) return 20;
  if (dx >= 8 || dy >= 8) return 5;
  return 12;
}

// Stops the hold timer and the calibration counts: the contact that armed them has ended.
void Disarm(TForm1& form) {
  PointerState& p = form.state().pointer;
  p.KeyHoldPending = 0;
  p.CalibrationSampleCount = 0;
  p.KeyCalibrationSampleCount = 0;
  form.Timer3.Enabled = false;
}

void Remember(PointerState& p, const PenSample& s) {
  p.PrevX = s.X;
  p.PrevY = s.Y;
  p.PrevStatus = s.PenStatus;
}

void CountTowardsStep(std::int32_t& count, TForm1& form, void (*step)(TForm1&)) {
  count += 1;
  if (count >= kSamplesPerStep) {
    step(form);
    count = 0;
  }
}

void FirstTouch(TForm1& form) {
  DriverState& state = form.state();
  const PenSample& s = state.sample;
  Remember(state.pointer, s);
  state.pointer.HistoryCount = 0;
  if (!IsCalibrating(state) && s.LevelX > kPressLevel && s.LevelY > kPressLevel) {
    Inject(form, s.X, s.Y, PointerAction::Press);
  }
}

// Returns false when the sample is dropped and must not become the reference position.
bool Drag(TForm1& form) {
  DriverState& state = form.state();
  PointerState& p = state.pointer;
  PenSample& s = state.sample;
  const std::int64_t dx = Distance(p.PrevX, s.X);
  const std::int64_t dy = Distance(p.PrevY, s.Y);
  if (dx == 0 && dy == 0) return false;
  if (dx > kJumpLimit || dy > kJumpLimit) return false;
  if (s.DoublePeakX == 1 || s.DoublePeakY == 1) return false;
  form.Timer1.Interval = PollInterval(dx, dy);
  AppendToHistory(p, s.X, s.Y);
  if (p.HistoryCount > 2) {
    SmoothNewest(p);
    s.X = NewestX(p);
    s.Y = NewestY(p);
  }
  Inject(form, s.X, s.Y, PointerAction::DragMove);
  return true;
}

void ContinuingTouch(TForm1& form) {
  DriverState& state = form.state();
  PointerState& p = state.pointer;
  const PenSample& s = state.sample;
  if (state.tour.CalibrationActive == 1) {
    CountTowardsStep(p.CalibrationSampleCount, form, CalibrationStep);
  }
  if (state.keyCalibration.KeyCalibrationActive == 1) {
    CountTowardsStep(p.KeyCalibrationSampleCount, form, KeyCalibrationStep);
  }
  const auto& zones = state.interpolation.KeyZoneHit;
  if (state.interpolation.InKeyMargin == 1 && (zones[0] == 1 || zones[1] == 1 || zones[2] == 1)) {
    p.KeyHoldPending = 1;
    form.Timer3.Enabled = true;
  }
  if (s.LevelY == 1 || s.SampleRejected == 1) return;
  if (!IsCalibrating(state) && !Drag(form)) return;
  Remember(p, s);
}

void RightButton(TForm1& form) {
  DriverState& state = form.state();
  PointerState& p = state.pointer;
  const PenSample& s = state.sample;
  Disarm(form);
  if (!IsCalibrating(state) && p.PrevStatus == PenStatusCode::RightButton) {
    // Held at the threshold: the count only matters once it gets there.
    if (p.RightCount < kRightClickRepeats) p.RightCount += 1;
    if (s.LevelY > kRightClickLevel && p.RightCount >= kRightClickRepeats) {
      p.RightCount = 0;
      Inject(form, p.PrevX, p.PrevY, PointerAction::RightClick);
    }
  }
  Remember(p, s);
  p.HistoryCount = 0;
}

void NoPen(TForm1& form) {
  DriverState& state = form.state();
  PointerState& p = state.pointer;
  Disarm(form);
  if (!IsCalibrating(state) &&
      (p.PrevStatus == PenStatusCode::Touch || p.PrevStatus == PenStatusCode::Hover)) {
    Inject(form, p.PrevX, p.PrevY, PointerAction::Release);
  }
  // A pen that pressed and then went on as the right-button pen, or one that pressed just
  // before a calibration began, would otherwise leave the button down for good.
  if (p.LeftButtonDown) ReleaseLeftButton(form);
  Remember(p, state.sample);
  p.HistoryCount = 0;
}

void SetHoverAnchor(PointerState& p, const PenSample& s) {
  p.HoverAnchorX = s.X;
  p.HoverAnchorY = s.Y;
  p.PrevStatus = PenStatusCode::Hover;
}

void Hover(TForm1& form) {
  DriverState& state = form.state();
  PointerState& p = state.pointer;
  const PenSample& s = state.sample;
  Disarm(form);
  if (s.SampleRejected == 1 || s.LevelY < kHoverLevel) return;
  if (p.PrevStatus == PenStatusCode::Touch) {
    SetHoverAnchor(p, s);
    if (!IsCalibrating(state)) {
      Inject(form, s.X, s.Y, PointerAction::Lift);
      p.HistoryCount = 0;
    }
  }
  if (p.PrevStatus == PenStatusCode::Hover) {
    const std::int64_t ax = Distance(p.HoverAnchorX, s.X);
    const std::int64_t ay = Distance(p.HoverAnchorY, s.Y);
    if (ax < kHoverDeadZone && ay < kHoverDeadZone) return;
    if (ax > kHoverJump || ay > kHoverJump) {
      SetHoverAnchor(p, s);
      return;
    }
    if (s.DoublePeakX + s.DoublePeakY > 0) return;
    if (!IsCalibrating(state)) Inject(form, s.X, s.Y, PointerAction::HoverMove);
  }
  SetHoverAnchor(p, s);
}

}  // namespace

void RunPenStateMachine(TForm1& form) {
  const DriverState& state = form.state();
  switch (state.sample.PenStatus) {
    case PenStatusCode::Touch:
      if (state.pointer.PrevStatus == PenStatusCode::Touch) {
        ContinuingTouch(form);
      } else {
        FirstTouch(form);
      }
      return;
    case PenStatusCode::RightButton:
      RightButton(form);
      return;
    case PenStatusCode::NoPen:
      NoPen(form);
      return;
    case PenStatusCode::Hover:
      Hover(form);
      return;
    default:
      return;
  }
}

}  // namespace raz
