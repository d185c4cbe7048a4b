#pragma once
// Board-to-screen transform built from the nine calibration points.
#include <array>

#include "calibration/calibration_state.h"
#include "pointer/pointer_state.h"

namespace raz {

struct DriverState;

// Rebuilds every field of the model from the nine points, in board units in screen scale.
// Sector keeps its value: it carries over from sample to sample and across rebuilds.
void BuildCalibrationModel(CalibrationModel& model,
                           const std::array<PointF, kCalibrationPointCount>& points);

// Sets model.Sector to the sector (1..8) holding the point q, given relative to the measured
// centre; a point that falls in none keeps the previous sample's sector.
void ClassifySector(CalibrationModel& model, double qx, double qy);

// The boundary test of one sector on its own, for q relative to the measured centre.
bool SectorTestHolds(const CalibrationModel& model, int sector, double qx, double qy);

// Rotation, scale and shear of one sector applied to a point in board units in screen scale;
// the result is in the same units, before the screen offset is taken off.
PointD MapInSector(const CalibrationModel& model, int sector, PointD point);

// Maps X and Y of the current sample from board units in screen scale to screen pixels;
// samples other than touch and hover are left as they are.
void MapToScreen(DriverState& state);

}  // namespace raz
