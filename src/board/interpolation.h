#pragma once
// Pen position between cells: the cell fix of each axis refined by how far the amplitude
// spread is from a learned full swing, then tested against the margin keys. The result is a
// board position, in board units in screen scale (or raw board units while a calibration
// collects points); the transform to pixels is the calibration's.
#include <cstdint>
#include <optional>

#include "base/points.h"
#include "board/board_state.h"
#include "board/key_layout.h"

namespace raz {

struct InterpolationInput {
  const KeyLayout& Keys;
  // Board units in screen scale per raw board unit, times ten (the calibration's factors).
  float CalibrationScaleX = 0.0f;
  float CalibrationScaleY = 0.0f;
  // A screen or key calibration collects points: positions stay in raw board units.
  bool Calibrating = false;
};

enum class PositionChange {
  None,  // a weak signal: the previous position and flags stand, nothing is to be mapped
  New,   // a fresh position
  Kept,  // the report carries no position of its own; the previous one stands
};

struct Interpolation {
  PositionChange Change = PositionChange::None;
  BoardPoint Position;            // for New: the rounded position
  std::int32_t RawBoardX = 0;     // for New
  bool InKeyMargin = false;       // for New: raw X lies left or right of the key margins
  std::optional<KeyZones> Zones;  // for a touch outside a calibration
};

// Runs after every decode that reached the rows.
Interpolation InterpolatePosition(const BoardReading& reading, const InterpolationInput& input,
                                  InterpolationState& state);

}  // namespace raz
