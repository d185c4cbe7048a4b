#pragma once
// Board-to-screen transform built from the nine calibration points.
#include <array>

#include "base/points.h"
#include "calibration/calibration_state.h"

namespace raz {

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

// Maps a touch or hover position from board units in screen scale to screen pixels, the
// offsets taken off last. Updates the model's Sector.
ScreenPoint MapToScreen(BoardPoint point, CalibrationModel& model, std::int32_t screenOffsetX,
                        std::int32_t screenOffsetY);

// The same, before the pixel is truncated: for a calibration on a picture of another size.
PointD MapToTourPixels(BoardPoint point, CalibrationModel& model, std::int32_t screenOffsetX,
                       std::int32_t screenOffsetY);

}  // namespace raz
