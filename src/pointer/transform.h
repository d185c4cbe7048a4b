#pragma once
// Board-to-screen transform built from the nine calibration points.
#include <array>

#include "calibration/calibration_state.h"
#include "pointer/pointer_state.h"

namespace raz {

struct DriverState;

void BuildCalibrationModel(CalibrationModel& model,
                           const std::array<PointF, kCalibrationPointCount>& points);

// Maps X and Y of the current sample from board units in screen scale to screen pixels;
// samples other than touch and hover are left as they are.
void MapToScreen(DriverState& state);

}  // namespace raz
