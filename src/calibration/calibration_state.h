#pragma once
// The screen calibration in force, the transform built from it, and the nine-target tour.
#include <array>
#include <cstdint>

#include "base/points.h"
#include "calibration/keystone.h"
#include "storage/data_files.h"

namespace raz {

// Piecewise board-to-screen mapping built from the nine calibration points. Everything but
// Sector is recomputed as a whole by BuildCalibrationModel; the screen offsets live with the
// stored calibration.
struct CalibrationModel {
  std::array<PointD, 9> P{};  // measured points relative to the measured centre
  std::int32_t GridWidth = 0;
  std::int32_t GridHeight = 0;
  std::array<PointD, 9> T{};  // ideal grid points relative to the ideal centre
  PointD IdealCentre;         // C
  PointD CentreOffset;        // D: measured centre minus C
  float CentreOffsetFX = 0.0f;
  float CentreOffsetFY = 0.0f;
  std::array<float, 9> SlopeX{};  // used for k = 0, 1, 2, 6, 7, 8
  std::array<float, 9> SlopeY{};  // used for k = 0, 2, 3, 5, 6, 8
  // Axis groups: 0 bottom (P[1]), 1 right (P[5]), 2 top (P[7]), 3 left (P[3]).
  std::array<float, 4> AxisLength{};
  std::array<float, 4> AxisScale{};
  std::array<float, 4> AxisCos{};
  std::array<float, 4> AxisSin{};
  std::array<PointD, 9> CornerA{};  // corners 0, 2, 6, 8 through their top/bottom sector
  std::array<PointD, 9> CornerB{};  // corners 0, 2, 6, 8 through their left/right sector
  std::int32_t Sector = 0;          // 0 until a sample has been classified, then 1..8
  KeystoneModel Keystone;           // the keystone-exact mapping of the same nine points
};

struct CalibrationTour {
  bool CalibrationActive = false;
  std::int32_t CalibrationTargetIndex = 0;
  std::array<float, kCalibrationPointCount> RawX{};
  std::array<float, kCalibrationPointCount> RawY{};
};

struct CalibrationState {
  CalibrationRecord Stored;  // points, scales and offsets in force
  CalibrationModel Model;
  // The Mapping key, read at start-up and on the dialog's OK.
  Mapping MappingInForce = Mapping::Standard;
  // The screen size a default calibration was made for; 0 x 0 while the user's own calibration
  // is in use.
  std::int32_t DefaultForWidth = 0;
  std::int32_t DefaultForHeight = 0;
  // The screen size the user's calibration was made at; 0 x 0 when not known (a calibration
  // stored before sizes were kept), and then its pixels are used as they are.
  ScreenSize TourScreen;
  CalibrationTour Tour;
  // Tours whose calibration was put in force since start-up.
  std::uint32_t ToursApplied = 0;
};

}  // namespace raz
