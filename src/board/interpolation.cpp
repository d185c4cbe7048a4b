#include "board/interpolation.h"

#include <cstdlib>
#include <limits>

#include "app/driver_state.h"
#include "app/numeric.h"
#include "pointer/transform.h"

namespace raz {
namespace {

constexpr std::int32_t kLearnableSpread = 50;
constexpr std::int32_t kFlatShoulder = 5;
constexpr std::int32_t kHoverMidLevelLow = 90;
constexpr std::int32_t kHoverMidLevelHigh = 180;
constexpr std::int32_t kHoverSpanMidLevel = 90;
constexpr std::int32_t kHoverSpanOtherLevel = 100;
constexpr long double kScreenScaleFactor = 0.1L;
constexpr std::int32_t kPinnedYLevelX = 90;
constexpr std::int32_t kPinnedYLevelY = 50;
constexpr std::int32_t kPinnedY = 3;

enum SpanIndex : std::size_t {
  kSpanXRising = 0,
  kSpanXFalling = 1,
  kSpanYRising = 2,
  kSpanYFalling = 3
};

// Case I: the level rises over the four positions, so the pen lies before P1.
bool Rising(const AxisFix& fix) { return fix.A4 > fix.A1; }

long double Interpolate(const AxisFix& fix, long double unit, std::int32_t span) {
  const long double base = static_cast<long double>(fix.P1) * unit;
  const long double shift = static_cast<long double>(fix.Spread) * unit / span;
  return Rising(fix) ? base - shift : base + shift;
}

// A full swing shows as a shoulder that stays flat while the spread is large.
void LearnSpan(const AxisFix& fix, std::int32_t& span) {
  if (fix.Spread <= kLearnableSpread) return;
  const std::int32_t shoulder = Rising(fix) ? fix.A1 - fix.A2 : fix.A3 - fix.A4;
  if (std::abs(shoulder) < kFlatShoulder) span = fix.Spread;
}

std::int32_t& TouchSpan(InterpolationState& interp, const AxisFix& fix, bool xAxis) {
  const bool rising = Rising(fix);
  const std::size_t index =
      xAxis ? (rising ? kSpanXRising : kSpanXFalling) : (rising ? kSpanYRising : kSpanYFalling);
  return interp.InterpolationSpan[index];
}

void SetRawX(DriverState& state, long double v) {
  InterpolationState& interp = state.interpolation;
  interp.RawBoardX = TruncToInt(v);
  const bool outside =
      interp.RawBoardX < state.keys.KeyMarginLeft || interp.RawBoardX > state.keys.KeyMarginRight;
  interp.InKeyMargin = outside ? 1 : 0;
}

void SetRawY(DriverState& state, long double v) {
  InterpolationState& interp = state.interpolation;
  interp.RawBoardY = TruncToInt(v);
  const auto& bounds = state.keys.KeyBounds;
  for (std::size_t zone = 0; zone < interp.KeyZoneHit.size(); ++zone) {
    const bool inside = bounds[zone] < interp.RawBoardY && interp.RawBoardY < bounds[zone + 1];
    interp.KeyZoneHit[zone] = inside ? 1 : 0;
  }
}

float ToScreenScale(std::int32_t raw, float calibrationScale) {
  return static_cast<float>(raw * static_cast<long double>(calibrationScale) * kScreenScaleFactor);
}

void InterpolateTouch(DriverState& state, bool calibrating) {
  InterpolationState& interp = state.interpolation;
  const AxisFix& fixX = state.decoder.FixX;
  const AxisFix& fixY = state.decoder.FixY;
  std::int32_t& spanX = TouchSpan(interp, fixX, true);
  std::int32_t& spanY = TouchSpan(interp, fixY, false);
  if (interp.SpanTracking == 1) {
    LearnSpan(fixX, spanX);
    LearnSpan(fixY, spanY);
  }
  const long double vx = Interpolate(fixX, interp.CellSizeX, spanX);
  const long double vy = Interpolate(fixY, interp.CellSizeY, spanY);
  SetRawX(state, vx);
  if (calibrating) {
    interp.CalibrationSampleX = static_cast<float>(vx);
    interp.CalibrationSampleY = static_cast<float>(vy);
  } else {
    SetRawY(state, vy);
    interp.CalibrationSampleX =
        ToScreenScale(interp.RawBoardX, state.calibration.CalibrationScaleX);
    interp.CalibrationSampleY =
        ToScreenScale(interp.RawBoardY, state.calibration.CalibrationScaleY);
  }
  state.sample.X = RoundSample(interp.CalibrationSampleX);
  state.sample.Y = RoundSample(interp.CalibrationSampleY);
}

// Hover positions go straight to screen scale, without the cell size or the 0.1 factor; while
// calibrating X is not recomputed, as the calibrations collect touch samples only.
void InterpolateHover(DriverState& state, bool calibrating) {
  InterpolationState& interp = state.interpolation;
  const AxisFix& fixX = state.decoder.FixX;
  const AxisFix& fixY = state.decoder.FixY;
  const std::int32_t levelX = state.sample.LevelX;
  const bool midLevel = levelX > kHoverMidLevelLow && levelX <= kHoverMidLevelHigh;
  interp.HoverSpanX = interp.HoverSpanY = midLevel ? kHoverSpanMidLevel : kHoverSpanOtherLevel;

  SetRawX(state, Interpolate(fixX, interp.CellSizeX, interp.HoverSpanX));
  if (!calibrating) {
    interp.CalibrationSampleX = static_cast<float>(
        Interpolate(fixX, state.calibration.CalibrationScaleX, interp.HoverSpanX));
  }
  if (interp.CalibrationSampleX < 0.0f) interp.CalibrationSampleX = 0.0f;
  state.sample.X = RoundSample(interp.CalibrationSampleX);

  const float unitY = calibrating ? interp.CellSizeY : state.calibration.CalibrationScaleY;
  interp.CalibrationSampleY = static_cast<float>(Interpolate(fixY, unitY, interp.HoverSpanY));
  state.sample.Y = RoundSample(interp.CalibrationSampleY);
}

}  // namespace

std::int32_t RoundSample(long double value) {
  const std::int32_t truncated = TruncToInt(value);
  if (truncated == std::numeric_limits<std::int32_t>::max()) return truncated;
  return value - truncated > 0.5L ? truncated + 1 : truncated;
}

void InterpolatePosition(DriverState& state) {
  PenSample& sample = state.sample;
  if (sample.LevelY <= kInterpolationLevel) return;
  const bool calibrating = IsCalibrating(state);
  if (sample.PenStatus == PenStatusCode::Touch) {
    InterpolateTouch(state, calibrating);
  } else if (sample.PenStatus == PenStatusCode::Hover && sample.LevelX > kInterpolationLevel) {
    InterpolateHover(state, calibrating);
  }
  if (sample.PenStatus == PenStatusCode::Touch && sample.LevelX > kPinnedYLevelX &&
      sample.LevelY < kPinnedYLevelY) {
    sample.Y = kPinnedY;
  }
  if (!calibrating) MapToScreen(state);
}

}  // namespace raz
