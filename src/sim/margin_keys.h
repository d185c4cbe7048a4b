#pragma once
// The printed icons in the board's left and right margins: nine stacked down each margin at the
// same heights. Positions are board cells. The defaults put the icons where the driver's
// built-in key layout expects them (raw units are 20 per cell).
#include <array>

#include "sim/pen_state.h"

namespace raz::sim {

inline constexpr int kKeysPerMargin = 9;

enum class Margin { Left, Right };

struct MarginKeyLayout {
  double leftInnerEdge = 38.2;     // right edge of the left margin's icons
  double rightInnerEdge = 140.75;  // left edge of the right margin's icons
  double top = 79.45;              // top of the first icon
  double bottom = 113.9;           // bottom of the ninth icon
  double iconWidth = 4.0;
};

// Centre of icon 1..9 (counted from the top) of a margin; icon numbers outside are clamped.
CellPoint KeyCentre(const MarginKeyLayout& layout, Margin margin, int icon);

// The three points the key calibration asks for, in order: the upper-right corner of the left
// margin's first icon, the lower-right corner of its last icon, and the upper-left corner of
// the right margin's fifth icon.
std::array<CellPoint, 3> KeyCalibrationPoints(const MarginKeyLayout& layout);

}  // namespace raz::sim
