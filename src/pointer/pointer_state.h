#pragma once
// State of the pen state machine and of the board-to-screen transform.
#include <array>
#include <cstdint>

#include "board/board_state.h"

namespace raz {

// Action handed with a pixel position to the mouse injector.
enum class PointerAction : std::int32_t {
  None = 0,
  Press = 1,
  DragMove = 2,
  Lift = 3,
  HoverMove = 4,
  FinishCalibration = 5,
  Release = 6,
  RightClick = 8,
};

struct PointerState {
  std::int32_t PrevStatus = PenStatusCode::Hover;
  std::int32_t PrevX = 0;
  std::int32_t PrevY = 0;
  std::int32_t HoverAnchorX = 0;
  std::int32_t HoverAnchorY = 0;
  std::int32_t RightCount = 0;
  std::int32_t CalibrationSampleCount = 0;
  std::int32_t KeyCalibrationSampleCount = 0;
  // Only the three newest positions of a stroke are ever read, so the history is a ring of
  // three indexed by HistoryCount.
  std::int32_t HistoryCount = 0;
  std::array<std::int32_t, 3> HistoryX{};
  std::array<std::int32_t, 3> HistoryY{};
  float SmoothedX = 0.0f;
  float SmoothedY = 0.0f;
  std::int32_t KeyHoldPending = 0;
  // Whether the driver holds the left button down, and the pixel of the last event it
  // emitted: a button that must be let go without a fresh sample is released there.
  bool LeftButtonDown = false;
  std::int32_t LastEventX = 0;
  std::int32_t LastEventY = 0;
};

struct PointD {
  double x = 0.0;
  double y = 0.0;
};

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
};

}  // namespace raz
