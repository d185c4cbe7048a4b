#include "pointer/pen_state_machine.h"

#include <cmath>
#include <cstdlib>

#include "pointer/stroke_history.h"

// A contact is a run of samples with one status. The first touch sample presses, later ones
// drag; hover lifts and moves; no pen releases; the right-button pen clicks every third
// repeat. The board misreads now and then: a sample far from the previous one, or one whose
// row shows two peaks, is dropped rather than drawn, and the previous position stays the
// reference. The poll interval follows the pen: slow drags are sampled every 20 ms, fast
// ones every 5 ms.
//
// The responsive pen takes every report, a thousand a second: the 1-euro filter smooths the
// stroke, a move goes out when the filtered pixel changes, and the counts that pace the
// right-click and the calibration steps take a sample at most every 2 ms, the classic poll,
// so that they keep their meaning in time however fast the board reports.

namespace raz {
namespace {

constexpr std::int32_t kPressLevel = 35;        // both levels above this to press
constexpr std::int32_t kHoverLevel = 60;        // LevelY below this: hover too faint to follow
constexpr std::int32_t kSamplesPerStep = 5;     // calibration steps on every fifth sample
constexpr std::int32_t kRightClickRepeats = 3;  // right-click on every third repeat
constexpr std::int64_t kHoverDeadZone = 2;      // hover moves under this are jitter
constexpr std::int64_t kHoverJump = 120;        // hover moves over this re-anchor silently
constexpr std::int64_t kSlowMove = 4;           // pixels per sample below which a drag is slow
constexpr std::int64_t kFastMove = 8;           // and from which it is fast
constexpr std::uint64_t kCountPeriodMicros = kClassicStartInterval * 1000;
constexpr double kPixelHysteresis = 0.75;  // px from the pixel shown before the cursor moves

std::int64_t Distance(std::int32_t a, std::int32_t b) {
  return std::llabs(static_cast<std::int64_t>(a) - b);
}

std::uint32_t PollInterval(std::int64_t dx, std::int64_t dy) {
  if (dx < kSlowMove && dy < kSlowMove) return kSlowPollInterval;
  if (dx >= kFastMove || dy >= kFastMove) return kFastPollInterval;
  return kMediumPollInterval;
}

ScreenPoint At(const PenSample& s) { return {s.X, s.Y}; }

// Stops the hold timer and the calibration counts: the contact that armed them has ended.
void Disarm(PointerState& p, PenStep& step) {
  p.KeyHoldPending = false;
  p.CalibrationSampleCount = 0;
  p.KeyCalibrationSampleCount = 0;
  step.HoldTimer = HoldTimerChange::Disarm;
}

void Remember(PointerState& p, const PenSample& s) {
  p.PrevX = s.X;
  p.PrevY = s.Y;
  p.PrevStatus = s.Status;
}

// Classic counts every sample; responsive at most one per classic poll.
bool SampleCounts(const PenContext& c, PointerState& p) {
  if (c.Response == PenResponse::Classic) return true;
  if (c.Micros - p.LastCountedMicros < kCountPeriodMicros) return false;
  p.LastCountedMicros = c.Micros;
  return true;
}

// True on every fifth call of a contact.
bool CountTowardsStep(std::int32_t& count) {
  count += 1;
  if (count < kSamplesPerStep) return false;
  count = 0;
  return true;
}

void FirstTouch(const PenSample& s, const PenContext& c, PointerState& p, PenStep& step) {
  Remember(p, s);
  p.HistoryCount = 0;
  p.TouchSeen = true;
  p.LastCountedMicros = c.Micros;
  StartFilter(p.Filter, s.X, s.Y, c.Micros);
  if (!c.Calibrating() && s.LevelX > kPressLevel && s.LevelY > kPressLevel) {
    step.Command = {PointerAction::Press, At(s)};
  }
}

// Returns false when the sample is dropped and must not become the reference position.
bool Drag(PenSample s, PointerState& p, PenStep& step) {
  const std::int64_t dx = Distance(p.PrevX, s.X);
  const std::int64_t dy = Distance(p.PrevY, s.Y);
  if (dx == 0 && dy == 0) return false;
  if (dx > kJumpLimit || dy > kJumpLimit) return false;
  if (s.DoublePeakX || s.DoublePeakY) return false;
  step.PollInterval = PollInterval(dx, dy);
  AppendToHistory(p, s.X, s.Y);
  if (p.HistoryCount > 2) {
    SmoothNewest(p);
    s.X = NewestX(p);
    s.Y = NewestY(p);
    step.Smoothed = At(s);
  }
  step.Command = {PointerAction::DragMove, At(s)};
  Remember(p, s);
  return true;
}

// A resting pen's filtered position hovers about a half pixel and would flick the cursor to
// and fro between two pixels: the cursor moves only once the filter is a quarter pixel past
// that half on either axis, and then to the nearest pixel on both, so a slanting stroke does
// not climb in steps.
ScreenPoint FilteredPixel(const FilteredPoint& f, ScreenPoint shown) {
  if (std::abs(f.x - shown.x) <= kPixelHysteresis && std::abs(f.y - shown.y) <= kPixelHysteresis) {
    return shown;
  }
  return {static_cast<std::int32_t>(std::lround(f.x)), static_cast<std::int32_t>(std::lround(f.y))};
}

// Responsive: every sample moves the filter, even one at the same raw position, so that the
// cursor settles where the pen rests; a move goes out when the filtered pixel changes.
void FilteredDrag(const PenSample& s, const PenContext& c, PointerState& p, PenStep& step) {
  if (!p.Filter.Primed) StartFilter(p.Filter, s.X, s.Y, c.Micros);
  if (Distance(p.Filter.RawX, s.X) > kJumpLimit || Distance(p.Filter.RawY, s.Y) > kJumpLimit) {
    return;
  }
  if (s.DoublePeakX || s.DoublePeakY) return;
  const FilteredPoint f = FilterPosition(p.Filter, s.X, s.Y, c.Micros);
  const ScreenPoint at = FilteredPixel(f, {p.PrevX, p.PrevY});
  if (at.x == p.PrevX && at.y == p.PrevY) return;
  step.Smoothed = at;
  step.Command = {PointerAction::DragMove, at};
  p.PrevX = at.x;
  p.PrevY = at.y;
}

void ContinuingTouch(const PenSample& s, const PenContext& c, PointerState& p, PenStep& step) {
  const bool counts = c.Calibrating() && SampleCounts(c, p);
  if (c.CalibrationActive && counts) {
    step.CalibrationStepDue = CountTowardsStep(p.CalibrationSampleCount);
  }
  if (c.KeyCalibrationActive && counts) {
    step.KeyCalibrationStepDue = CountTowardsStep(p.KeyCalibrationSampleCount);
  }
  const auto& zones = c.KeyZoneHit;
  if (c.InKeyMargin && (zones[0] || zones[1] || zones[2])) {
    p.KeyHoldPending = true;
    step.HoldTimer = HoldTimerChange::Arm;
  }
  if (s.LevelY == 1) return;
  if (c.Calibrating()) {
    Remember(p, s);
    return;
  }
  if (c.Response == PenResponse::Responsive) {
    FilteredDrag(s, c, p, step);
  } else {
    Drag(s, p, step);
  }
}

void RightButton(const PenSample& s, const PenContext& c, PointerState& p, PenStep& step) {
  Disarm(p, step);
  if (p.PrevStatus != PenStatus::RightButton) p.LastCountedMicros = c.Micros;
  if (!c.Calibrating() && p.PrevStatus == PenStatus::RightButton && SampleCounts(c, p)) {
    // Held at the threshold: the count only matters once it gets there. A silent frame counts
    // but never clicks.
    if (p.RightCount < kRightClickRepeats) p.RightCount += 1;
    if (s.Verdict == ReportVerdict::DrivesPen && p.RightCount >= kRightClickRepeats) {
      p.RightCount = 0;
      step.Command = {PointerAction::RightClick, {p.PrevX, p.PrevY}};
    }
  }
  Remember(p, s);
  p.HistoryCount = 0;
}

void NoPen(const PenSample& s, const PenContext& c, PointerState& p, PenStep& step) {
  Disarm(p, step);
  // The pen counts as hovering at start-up; without a touch before there is nothing to release
  // and no position to release it at.
  if (!c.Calibrating() && p.TouchSeen &&
      (p.PrevStatus == PenStatus::Touch || p.PrevStatus == PenStatus::Hover)) {
    step.Command = {PointerAction::Release, {p.PrevX, p.PrevY}};
  }
  // A pen that pressed and then went on as the right-button pen, or one that pressed just
  // before a calibration began, would otherwise leave the button down for good.
  step.ReleaseHeldButton = true;
  Remember(p, s);
  p.HistoryCount = 0;
}

void SetHoverAnchor(PointerState& p, const PenSample& s) {
  p.HoverAnchorX = s.X;
  p.HoverAnchorY = s.Y;
  p.PrevStatus = PenStatus::Hover;
}

void Hover(const PenSample& s, const PenContext& c, PointerState& p, PenStep& step) {
  Disarm(p, step);
  if (s.LevelY < kHoverLevel) return;
  if (p.PrevStatus == PenStatus::Touch) {
    SetHoverAnchor(p, s);
    if (!c.Calibrating()) {
      step.Command = {PointerAction::Lift, At(s)};
      p.HistoryCount = 0;
    }
  }
  if (p.PrevStatus == PenStatus::Hover) {
    const std::int64_t ax = Distance(p.HoverAnchorX, s.X);
    const std::int64_t ay = Distance(p.HoverAnchorY, s.Y);
    if (ax < kHoverDeadZone && ay < kHoverDeadZone) return;
    if (ax > kHoverJump || ay > kHoverJump) {
      SetHoverAnchor(p, s);
      return;
    }
    if (s.DoublePeakX || s.DoublePeakY) return;
    if (!c.Calibrating()) step.Command = {PointerAction::HoverMove, At(s)};
  }
  SetHoverAnchor(p, s);
}

}  // namespace

PenStep RunPenStateMachine(const PenSample& sample, const PenContext& context,
                           PointerState& pointer) {
  PenStep step;
  if (!ReachesPen(sample.Verdict)) return step;
  switch (sample.Status) {
    case PenStatus::Touch:
      if (pointer.PrevStatus == PenStatus::Touch) {
        ContinuingTouch(sample, context, pointer, step);
      } else {
        FirstTouch(sample, context, pointer, step);
      }
      break;
    case PenStatus::RightButton:
      RightButton(sample, context, pointer, step);
      break;
    case PenStatus::NoPen:
      NoPen(sample, context, pointer, step);
      break;
    case PenStatus::Hover:
      Hover(sample, context, pointer, step);
      break;
  }
  return step;
}

void ForgetContact(PointerState& pointer) {
  pointer.PrevStatus = PenStatus::NoPen;
  pointer.HistoryCount = 0;
}

void SwallowContact(PointerState& pointer) {
  pointer.SwallowingContact = pointer.PrevStatus == PenStatus::Touch;
  ForgetContact(pointer);
  // The remembered touch position is in raw board units: a release there would click far off
  // on the screen (on a 1024 x 768 screen, the "show desktop" corner).
  pointer.TouchSeen = false;
}

}  // namespace raz
