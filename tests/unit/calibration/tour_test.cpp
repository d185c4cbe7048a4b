#include "calibration/tour.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "calibration/transform.h"

namespace raz {
namespace {

// A touch the current step accepts, at a raw position.
TourSample Touch(float x, float y) { return {200, 200, false, x, y}; }

// The raw positions of a board whose screen spans raw 1000..9000 by 1000..7000 squarely.
PointF SquarePoint(int gridIndex) {
  const int column = gridIndex % 3;
  const int row = gridIndex / 3;  // 0 bottom
  return {1000.0f + 4000.0f * column, 7000.0f - 3000.0f * row};
}

std::array<PointF, 9> Square() {
  std::array<PointF, 9> points;
  for (int k = 0; k < 9; ++k) points[k] = SquarePoint(k);
  return points;
}

// The distance along the tour's axis truncates to 100 or less: refused; 101 or more: taken,
// whichever way the pen went.
TEST(CalibrationStep, DistanceFromThePreviousPointMustTruncateToMoreThan100) {
  struct Row {
    int step;     // the step under test; the steps before it are taken squarely
    float along;  // offset from the previous point on the tour's axis
    bool advances;
  };
  const Row rows[] = {
      {1, 100.0f, false},  {1, 100.9f, false}, {1, 101.0f, true}, {1, -101.0f, true},
      {1, -100.5f, false}, {3, 100.0f, false}, {3, 101.0f, true}, {8, 100.99f, false},
      {8, 101.0f, true},   {7, -101.0f, true},
  };
  for (const Row& row : rows) {
    CalibrationTour tour;
    StartTour(tour);
    for (int step = 0; step < row.step; ++step) {
      const PointF p = SquarePoint(TourStepOf(step).GridIndex);
      CalibrationStep(Touch(p.x, p.y), tour);
    }
    const TourStepSpec& spec = TourStepOf(row.step);
    PointF p{tour.RawX[spec.ComparedWith], tour.RawY[spec.ComparedWith]};
    (spec.Axis == TourAxis::X ? p.x : p.y) += row.along;
    const TourStepResult r = CalibrationStep(Touch(p.x, p.y), tour);
    SCOPED_TRACE("step " + std::to_string(row.step) + ", " + std::to_string(row.along));
    const TourOutcome taken = row.step == 8 ? TourOutcome::Completed : TourOutcome::Advanced;
    EXPECT_EQ(r.Outcome, row.advances ? taken : TourOutcome::TooClose);
    // A refused point is stored all the same; the next try overwrites it.
    EXPECT_EQ(tour.RawX[spec.GridIndex], p.x);
    EXPECT_EQ(tour.CalibrationTargetIndex, row.advances && row.step < 8 ? row.step + 1 : row.step);
  }
}

// Tours the distance tests let through but the transform cannot use: nothing may be applied.
TEST(FinishTour, DegenerateToursAreRefused) {
  struct Row {
    const char* what;
    void (*distort)(std::array<PointF, 9>&);
    TourRefusal refusal;
  };
  const Row rows[] = {
      {"points 2 and 6 on one vertical", [](std::array<PointF, 9>& p) { p[2].x = p[6].x; },
       TourRefusal::Scale},
      {"points 2 and 6 on one horizontal", [](std::array<PointF, 9>& p) { p[2].y = p[6].y; },
       TourRefusal::Scale},
      {"corners 2 and 6 swapped", [](std::array<PointF, 9>& p) { std::swap(p[2], p[6]); },
       TourRefusal::Scale},
      {"a raw position that is not a number",
       [](std::array<PointF, 9>& p) { p[6].x = std::numeric_limits<float>::quiet_NaN(); },
       TourRefusal::Scale},
      {"top row touched right to left in its middle",
       [](std::array<PointF, 9>& p) { p[7].x = p[6].x - 200.0f; }, TourRefusal::Folded},
      {"left column folded", [](std::array<PointF, 9>& p) { p[3].y = p[0].y + 200.0f; },
       TourRefusal::Folded},
      {"bottom-left corner straight below the centre",
       [](std::array<PointF, 9>& p) {
         p[0].x = p[4].x;
         p[1].x = p[4].x + 1000.0f;
       },
       TourRefusal::Geometry},
  };
  for (const Row& row : rows) {
    std::array<PointF, 9> points = Square();
    row.distort(points);
    CalibrationTour tour;
    for (int k = 0; k < 9; ++k) {
      tour.RawX[k] = points[k].x;
      tour.RawY[k] = points[k].y;
    }
    EXPECT_EQ(FinishTour(tour, {1024, 768}, {}).Refusal, row.refusal) << row.what;
  }
}

}  // namespace
}  // namespace raz
