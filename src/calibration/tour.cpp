#include "calibration/tour.h"

#include <cmath>

#include "base/numeric.h"
#include "base/pen_status.h"
#include "calibration/usable_calibration.h"

// The tour goes round the screen clockwise from the top-left corner and ends in the centre.
// A pen that simply stays on the board must not be taken for the next target, so each point
// has to lie more than 100 raw units from the previous one along the axis the tour moved on.
// Once all nine are in, the scales put the top-left and bottom-right targets 2M pixels apart
// less than the screen, and the offsets put the top-left target at (M, M).

namespace raz {
namespace {

constexpr std::int32_t kMinimumTravel = 100;  // raw board units between two targets
constexpr long double kScaleFactor = 10.0L;   // raw units per board unit in screen scale
constexpr long double kScreenScaleFactor = 0.1L;

constexpr std::array<TourStepSpec, kTourSteps> kTour{{
    {6, false, true, TourAxis::None, -1},  // top left
    {7, false, false, TourAxis::X, 6},     // top middle
    {8, false, false, TourAxis::X, 7},     // top right
    {5, false, false, TourAxis::Y, 8},     // right middle
    {2, false, false, TourAxis::Y, 5},     // bottom right
    {1, false, false, TourAxis::X, 2},     // bottom middle
    {0, false, false, TourAxis::X, 1},     // bottom left
    {3, false, false, TourAxis::Y, 0},     // left middle
    {4, true, false, TourAxis::X, 3},      // centre
}};

bool Accepts(const TourStepSpec& spec, const TourSample& s) {
  const std::int32_t level = spec.GatedByLevelY ? s.LevelY : s.LevelX;
  if (level <= kSignalLevel) return false;
  return !(spec.RefusesKeyMargin && s.InKeyMargin);
}

bool FarEnough(const TourStepSpec& spec, const CalibrationTour& tour) {
  if (spec.Axis == TourAxis::None) return true;
  const auto& values = spec.Axis == TourAxis::X ? tour.RawX : tour.RawY;
  const long double travel =
      static_cast<long double>(values[spec.GridIndex]) - values[spec.ComparedWith];
  return std::abs(static_cast<std::int64_t>(TruncToInt(travel))) > kMinimumTravel;
}

bool UsableScale(float scale) { return std::isfinite(scale) && scale > 0.0f; }

// Grid rows (top 6 7 8, middle 3 4 5, bottom 0 1 2) must run left to right and columns top
// to bottom; a tour touched in the wrong order would fold the mapping over itself.
bool InScreenOrder(const CalibrationTour& t) {
  constexpr int kRows[3][3] = {{6, 7, 8}, {3, 4, 5}, {0, 1, 2}};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 2; ++c) {
      if (!(t.RawX[kRows[r][c]] < t.RawX[kRows[r][c + 1]])) return false;
      if (!(t.RawY[kRows[c][r]] < t.RawY[kRows[c + 1][r]])) return false;
    }
  }
  return true;
}

}  // namespace

const TourStepSpec& TourStepOf(int step) { return kTour.at(static_cast<std::size_t>(step)); }

ScreenPoint CalibrationTarget(int step, ScreenSize screen) {
  const std::int32_t m = kCalibrationMargin;
  const std::int32_t w = screen.Width;
  const std::int32_t h = screen.Height;
  const std::array<ScreenPoint, kTourSteps> targets{{{m, m},
                                                     {w / 2, m},
                                                     {w - m, m},
                                                     {w - m, h / 2},
                                                     {w - m, h - m},
                                                     {w / 2, h - m},
                                                     {m, h - m},
                                                     {m, h / 2},
                                                     {w / 2, h / 2}}};
  return targets.at(static_cast<std::size_t>(step));
}

void StartTour(CalibrationTour& tour) {
  tour.CalibrationTargetIndex = 0;
  tour.CalibrationActive = true;
}

TourStepResult CalibrationStep(const TourSample& sample, CalibrationTour& tour) {
  const int step = tour.CalibrationTargetIndex;
  const TourStepSpec& spec = TourStepOf(step);
  if (!Accepts(spec, sample)) return {TourOutcome::Ignored, step};
  tour.RawX[spec.GridIndex] = sample.SampleX;
  tour.RawY[spec.GridIndex] = sample.SampleY;
  if (!FarEnough(spec, tour)) return {TourOutcome::TooClose, step};
  if (step + 1 == kTourSteps) return {TourOutcome::Completed, step};
  tour.CalibrationTargetIndex = step + 1;
  return {TourOutcome::Advanced, step};
}

FinishedTour FinishTour(const CalibrationTour& tour, ScreenSize screen,
                        const CalibrationRecord& inForce) {
  const std::int32_t m = kCalibrationMargin;
  FinishedTour result;
  CalibrationRecord& c = result.Record;
  c.ReservedWord = inForce.ReservedWord;
  c.ReservedLevel = inForce.ReservedLevel;
  const auto& x = tour.RawX;
  const auto& y = tour.RawY;
  c.CalibrationScaleX = static_cast<float>((screen.Width - 2 * m) * kScaleFactor /
                                           (static_cast<long double>(x[2]) - x[6]));
  c.CalibrationScaleY = static_cast<float>((screen.Height - 2 * m) * kScaleFactor /
                                           (static_cast<long double>(y[2]) - y[6]));
  if (!UsableScale(c.CalibrationScaleX) || !UsableScale(c.CalibrationScaleY)) {
    result.Refusal = TourRefusal::Scale;
    return result;
  }
  for (int k = 0; k < kCalibrationPointCount; ++k) {
    c.CalibrationPoints[k] = {
        static_cast<float>(x[k] * static_cast<long double>(c.CalibrationScaleX) *
                           kScreenScaleFactor),
        static_cast<float>(y[k] * static_cast<long double>(c.CalibrationScaleY) *
                           kScreenScaleFactor)};
  }
  c.ScreenOffsetX = TruncToInt(static_cast<long double>(c.CalibrationPoints[6].x) - m);
  c.ScreenOffsetY = TruncToInt(static_cast<long double>(c.CalibrationPoints[6].y) - m);
  if (!InScreenOrder(tour)) {
    result.Refusal = TourRefusal::Folded;
  } else if (!IsUsableCalibration(c)) {
    result.Refusal = TourRefusal::Geometry;
  }
  return result;
}

}  // namespace raz
