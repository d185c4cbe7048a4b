#pragma once
// Guards the transform against a stored calibration it cannot use, and supplies the linear
// calibration the pen works with until the user calibrates.
#include <cstdint>

#include "calibration/calibration_state.h"

namespace raz {

// Raw board units across the coded area on each axis: 147 cells of two half-cells, ten
// units per half-cell.
inline constexpr std::int32_t kCodedAreaRawSpan = 2940;

// Every value the mapping reads is finite, every divisor is non-zero and the ideal grid has
// an extent on both axes, so no sample can map to NaN, an infinity or a single point.
bool IsUsableModel(const CalibrationModel& model);

// Scales and points of plausible size (finite, scales not zero) whose model is usable.
bool IsUsableCalibration(const CalibrationRecord& calibration);

// Maps raw board units 0..kCodedAreaRawSpan linearly onto pixels 0..W-1 and 0..H-1. A display
// that reports no usable size gets the calibration of a 1024 x 768 screen.
// The reserved fields are zero.
CalibrationRecord DefaultCalibration(int screenWidth, int screenHeight);

// Start-up: the stored calibration when it is usable, else the default for the screen (the
// file itself stays as it is). Builds the model either way.
void ApplyStoredCalibration(CalibrationState& calibration, const CalibrationRecord& stored,
                            int screenWidth, int screenHeight);

// The default calibration follows the screen: when the display watch finds a new resolution
// while the default is in use, it is made again for that resolution. A user's calibration is
// never touched.
void FollowScreenSize(CalibrationState& calibration, int screenWidth, int screenHeight);

}  // namespace raz
