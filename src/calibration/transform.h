#pragma once
// Board-to-screen transform built from the nine calibration points.
#include <array>

#include "base/points.h"
#include "calibration/calibration_state.h"

namespace raz {

// Rebuilds every field of the model from the nine points, in board units in screen scale,
// the keystone-exact mapping's among them.
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

// A position in board units in screen scale through the chosen mapping, before the screen
// offsets are taken off. Updates the model's Sector whichever the mapping: the sector
// transform maps what the keystone-exact mapping cannot.
PointD MapUnshifted(PointD point, CalibrationModel& model, Mapping mapping);

// Maps a touch or hover position from board units in screen scale to screen pixels, the
// offsets taken off last. Updates the model's Sector.
ScreenPoint MapToScreen(BoardPoint point, CalibrationModel& model, std::int32_t screenOffsetX,
                        std::int32_t screenOffsetY, Mapping mapping = Mapping::Standard);

// The same, before the pixel is truncated: for a calibration on a picture of another size.
PointD MapToTourPixels(BoardPoint point, CalibrationModel& model, std::int32_t screenOffsetX,
                       std::int32_t screenOffsetY, Mapping mapping = Mapping::Standard);

}  // namespace raz
