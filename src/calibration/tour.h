#pragma once
// The nine-target calibration tour: where each cross stands, which touch a step takes, and
// the calibration computed from the nine points once the tour is complete. The app draws the
// crosses and applies the result; everything here is a function of its input values.
#include <array>
#include <cstdint>
#include <optional>

#include "base/points.h"
#include "calibration/calibration_state.h"

namespace raz {

// Pixels between the outer targets and the screen edges.
inline constexpr std::int32_t kCalibrationMargin = 50;
inline constexpr int kTourSteps = 9;

enum class TourAxis { None, X, Y };

// One step of the tour: the grid index it fills, and what its touch is compared with.
struct TourStepSpec {
  int GridIndex;
  bool GatedByLevelY;     // the centre is gated by LevelY, the others by LevelX
  bool RefusesKeyMargin;  // the first target takes no touch inside the key margin
  TourAxis Axis;          // axis the tour moved along to reach this target
  int ComparedWith;       // grid index of the previous step's point, -1 for none
};

const TourStepSpec& TourStepOf(int step);

// The cross centre of a step on a screen of the given size.
ScreenPoint CalibrationTarget(int step, ScreenSize screen);

// What a calibration step reads of the current sample.
struct TourSample {
  std::int32_t LevelX = 0;
  std::int32_t LevelY = 0;
  bool InKeyMargin = false;
  float SampleX = 0.0f;  // raw board units
  float SampleY = 0.0f;
};

enum class TourOutcome {
  Ignored,    // the acceptance condition failed: nothing was stored
  TooClose,   // stored, but too near the previous point: the same target stays
  Advanced,   // taken; the next target is due
  Completed,  // the ninth point was taken: the calibration is to be finished
};

struct TourStepResult {
  TourOutcome Outcome = TourOutcome::Ignored;
  int Step = 0;  // the step that handled the sample
};

// Starts (or restarts) the tour at its first target.
void StartTour(CalibrationTour& tour);

// One step of the tour, for every fifth continuing touch sample while the tour runs.
TourStepResult CalibrationStep(const TourSample& sample, CalibrationTour& tour);

// Why a finished tour was refused, or nothing when it gives a usable calibration.
enum class TourRefusal {
  None,
  Scale,     // a scale factor is zero, negative or not finite (corners on one line, reversed)
  Folded,    // a row or column of the grid runs backwards
  Geometry,  // a slope, axis length or shear divisor of the transform would be unusable
};

struct FinishedTour {
  TourRefusal Refusal = TourRefusal::None;
  CalibrationRecord Record;  // scales, points and offsets; reserved fields as given
};

// Scales, points and offsets of the nine raw points, checked before anything is applied. The
// reserved fields are carried over from the calibration in force.
FinishedTour FinishTour(const CalibrationTour& tour, ScreenSize screen,
                        const CalibrationRecord& inForce);

}  // namespace raz
