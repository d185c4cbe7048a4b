#include "board/interpolation.h"

#include <cstdlib>
#include <limits>

#include "base/numeric.h"

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

// A fresh position at raw X, and whether X lies in the key margin.
Interpolation FoundAtX(const KeyLayout& keys, long double v) {
  Interpolation found;
  found.Change = PositionChange::New;
  found.RawBoardX = TruncToInt(v);
  found.InKeyMargin = found.RawBoardX < keys.KeyMarginLeft || found.RawBoardX > keys.KeyMarginRight;
  return found;
}

KeyZones ZonesAt(const KeyLayout& keys, long double v) {
  KeyZones zones{.RawBoardY = TruncToInt(v)};
  const auto& bounds = keys.KeyBounds;
  for (std::size_t zone = 0; zone < zones.KeyZoneHit.size(); ++zone) {
    zones.KeyZoneHit[zone] = bounds[zone] < zones.RawBoardY && zones.RawBoardY < bounds[zone + 1];
  }
  return zones;
}

BoardPoint Rounded(const InterpolationState& interp) {
  return {RoundSample(interp.CalibrationSampleX), RoundSample(interp.CalibrationSampleY)};
}

float ToScreenScale(std::int32_t raw, float calibrationScale) {
  return static_cast<float>(raw * static_cast<long double>(calibrationScale) * kScreenScaleFactor);
}

Interpolation InterpolateTouch(const BoardReading& reading, const InterpolationInput& input,
                               InterpolationState& interp) {
  const AxisFix& fixX = reading.FixX;
  const AxisFix& fixY = reading.FixY;
  std::int32_t& spanX = TouchSpan(interp, fixX, true);
  std::int32_t& spanY = TouchSpan(interp, fixY, false);
  if (interp.SpanTracking) {
    LearnSpan(fixX, spanX);
    LearnSpan(fixY, spanY);
  }
  const long double vx = Interpolate(fixX, interp.CellSizeX, spanX);
  const long double vy = Interpolate(fixY, interp.CellSizeY, spanY);
  Interpolation found = FoundAtX(input.Keys, vx);
  if (input.Calibrating) {
    interp.CalibrationSampleX = static_cast<float>(vx);
    interp.CalibrationSampleY = static_cast<float>(vy);
  } else {
    found.Zones = ZonesAt(input.Keys, vy);
    interp.CalibrationSampleX = ToScreenScale(found.RawBoardX, input.CalibrationScaleX);
    interp.CalibrationSampleY = ToScreenScale(found.Zones->RawBoardY, input.CalibrationScaleY);
  }
  found.Position = Rounded(interp);
  return found;
}

// Hover positions go straight to screen scale, without the cell size or the 0.1 factor; while
// calibrating X is not recomputed, as the calibrations collect touch samples only.
Interpolation InterpolateHover(const BoardReading& reading, const InterpolationInput& input,
                               InterpolationState& interp) {
  const AxisFix& fixX = reading.FixX;
  const AxisFix& fixY = reading.FixY;
  const std::int32_t levelX = reading.LevelX;
  const bool midLevel = levelX > kHoverMidLevelLow && levelX <= kHoverMidLevelHigh;
  const std::int32_t span = midLevel ? kHoverSpanMidLevel : kHoverSpanOtherLevel;  // both axes

  Interpolation found = FoundAtX(input.Keys, Interpolate(fixX, interp.CellSizeX, span));
  if (!input.Calibrating) {
    interp.CalibrationSampleX =
        static_cast<float>(Interpolate(fixX, input.CalibrationScaleX, span));
  }
  if (interp.CalibrationSampleX < 0.0f) interp.CalibrationSampleX = 0.0f;

  const float unitY = input.Calibrating ? interp.CellSizeY : input.CalibrationScaleY;
  interp.CalibrationSampleY = static_cast<float>(Interpolate(fixY, unitY, span));
  found.Position = Rounded(interp);
  return found;
}

}  // namespace

Interpolation InterpolatePosition(const BoardReading& reading, const InterpolationInput& input,
                                  InterpolationState& state) {
  if (reading.LevelY <= kSignalLevel) return {};
  Interpolation result;
  result.Change = PositionChange::Kept;
  if (reading.Status == PenStatus::Touch) {
    result = InterpolateTouch(reading, input, state);
    if (reading.LevelX > kPinnedYLevelX && reading.LevelY < kPinnedYLevelY) {
      result.Position.y = kPinnedY;
    }
  } else if (reading.Status == PenStatus::Hover && reading.LevelX > kSignalLevel) {
    result = InterpolateHover(reading, input, state);
  }
  return result;
}

}  // namespace raz
