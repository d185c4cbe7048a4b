#include "calibration/usable_calibration.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <type_traits>
#include <utility>

#include "calibration/transform.h"

// A calibration file that is missing, short, zero-filled or written from a failed tour would
// otherwise make slopes, axis lengths or shear divisors zero or infinite, and the pen would
// land on NaN (the top-left pixel) or nowhere at all. Start-up checks the stored calibration
// here and falls back to a plain linear mapping of the whole board onto the screen.

namespace raz {
namespace {

constexpr int kFallbackWidth = 1024;
constexpr int kFallbackHeight = 768;
constexpr int kSmallestScreen = 3;  // a grid needs a non-zero half-width
// Points are close to screen pixels and scales close to 1; values far outside these bounds
// are noise from a damaged file, finite or not.
constexpr float kLargestCoordinate = 1e6f;
constexpr float kSmallestScale = 1e-3f;
constexpr float kLargestScale = 1e4f;

bool PlausibleScale(float scale) {
  const float size = std::fabs(scale);
  return size >= kSmallestScale && size <= kLargestScale;  // false for NaN
}

bool PlausibleCoordinate(float value) { return std::fabs(value) <= kLargestCoordinate; }

bool Finite(PointD p) { return std::isfinite(p.x) && std::isfinite(p.y); }

bool UsableDivisor(double d) { return std::isfinite(d) && d != 0.0; }

// The size DefaultCalibration makes its calibration for.
std::pair<int, int> DefaultSize(int screenWidth, int screenHeight) {
  if (screenWidth < kSmallestScreen || screenHeight < kSmallestScreen) {
    return {kFallbackWidth, kFallbackHeight};
  }
  return {screenWidth, screenHeight};
}

template <typename Array>
bool AllFinite(const Array& values) {
  return std::all_of(values.begin(), values.end(), [](auto v) {
    if constexpr (std::is_same_v<decltype(v), PointD>) {
      return Finite(v);
    } else {
      return std::isfinite(v);
    }
  });
}

// The shear of each corner divides by its image and must yield finite factors.
bool UsableShears(const CalibrationModel& m) {
  for (int k : {0, 2, 6, 8}) {
    const PointD& a = m.CornerA[k];
    const PointD& b = m.CornerB[k];
    const PointD& t = m.T[k];
    if (!UsableDivisor(a.x) || !UsableDivisor(b.y)) return false;
    const long double factors[] = {
        (t.y - static_cast<long double>(a.y)) / a.x, static_cast<long double>(t.x) / a.x,
        (t.x - static_cast<long double>(b.x)) / b.y, static_cast<long double>(t.y) / b.y};
    for (long double f : factors) {
      if (!std::isfinite(static_cast<double>(f))) return false;
    }
  }
  return true;
}

}  // namespace

bool IsUsableModel(const CalibrationModel& m) {
  if (m.GridWidth / 2 == 0 || m.GridHeight / 2 == 0) return false;
  if (!AllFinite(m.P) || !AllFinite(m.T) || !Finite(m.IdealCentre) || !Finite(m.CentreOffset)) {
    return false;
  }
  if (!std::isfinite(m.CentreOffsetFX) || !std::isfinite(m.CentreOffsetFY)) return false;
  if (!AllFinite(m.SlopeX) || !AllFinite(m.SlopeY) || !AllFinite(m.AxisCos) ||
      !AllFinite(m.AxisSin)) {
    return false;
  }
  for (int g = 0; g < 4; ++g) {
    if (!UsableDivisor(m.AxisLength[g]) || !UsableDivisor(m.AxisScale[g])) return false;
  }
  return AllFinite(m.CornerA) && AllFinite(m.CornerB) && UsableShears(m);
}

bool IsUsableCalibration(const CalibrationRecord& c) {
  if (!PlausibleScale(c.CalibrationScaleX) || !PlausibleScale(c.CalibrationScaleY)) return false;
  for (const PointF& p : c.CalibrationPoints) {
    if (!PlausibleCoordinate(p.x) || !PlausibleCoordinate(p.y)) return false;
  }
  CalibrationModel model;
  BuildCalibrationModel(model, c.CalibrationPoints);
  return IsUsableModel(model);
}

CalibrationRecord DefaultCalibration(int screenWidth, int screenHeight) {
  std::tie(screenWidth, screenHeight) = DefaultSize(screenWidth, screenHeight);
  CalibrationRecord c;
  // A sample is round(raw * scale * 0.1), so these put raw 0 on pixel 0 and the far edge of
  // the coded area on the last pixel.
  c.CalibrationScaleX =
      static_cast<float>((screenWidth - 1) * 10.0L / static_cast<long double>(kCodedAreaRawSpan));
  c.CalibrationScaleY =
      static_cast<float>((screenHeight - 1) * 10.0L / static_cast<long double>(kCodedAreaRawSpan));
  // A grid with integer points, an even width and height and no distortion makes every
  // sector the identity, so the transform passes the scaled sample through unchanged.
  const int hw = (screenWidth - 1) / 2;
  const int hh = (screenHeight - 1) / 2;
  for (int row = 0; row < 3; ++row) {  // 0 bottom, 2 top
    for (int column = 0; column < 3; ++column) {
      c.CalibrationPoints[row * 3 + column] = {static_cast<float>(column * hw),
                                               static_cast<float>((2 - row) * hh)};
    }
  }
  c.ScreenOffsetX = 0;
  c.ScreenOffsetY = 0;
  return c;
}

namespace {

void UseDefaultCalibration(CalibrationState& calibration, int screenWidth, int screenHeight) {
  const CalibrationRecord previous = calibration.Stored;
  calibration.Stored = DefaultCalibration(screenWidth, screenHeight);
  calibration.Stored.ReservedWord = previous.ReservedWord;
  calibration.Stored.ReservedLevel = previous.ReservedLevel;
  std::tie(calibration.DefaultForWidth, calibration.DefaultForHeight) =
      DefaultSize(screenWidth, screenHeight);
  BuildCalibrationModel(calibration.Model, calibration.Stored.CalibrationPoints);
}

}  // namespace

void ApplyStoredCalibration(CalibrationState& calibration, const CalibrationRecord& stored,
                            int screenWidth, int screenHeight) {
  calibration.Stored = stored;
  if (IsUsableCalibration(stored)) {
    calibration.DefaultForWidth = calibration.DefaultForHeight = 0;
    BuildCalibrationModel(calibration.Model, calibration.Stored.CalibrationPoints);
  } else {
    UseDefaultCalibration(calibration, screenWidth, screenHeight);
  }
}

void FollowScreenSize(CalibrationState& calibration, int screenWidth, int screenHeight) {
  if (calibration.DefaultForWidth == 0 && calibration.DefaultForHeight == 0) return;
  const auto [width, height] = DefaultSize(screenWidth, screenHeight);
  if (width != calibration.DefaultForWidth || height != calibration.DefaultForHeight) {
    UseDefaultCalibration(calibration, screenWidth, screenHeight);
  }
}

}  // namespace raz
