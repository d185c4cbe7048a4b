#include "sim/margin_keys.h"

#include <algorithm>

namespace raz::sim {
namespace {

double IconHeight(const MarginKeyLayout& layout) {
  return (layout.bottom - layout.top) / kKeysPerMargin;
}

}  // namespace

CellPoint KeyCentre(const MarginKeyLayout& layout, Margin margin, int icon) {
  const int index = std::clamp(icon, 1, kKeysPerMargin) - 1;
  const double y = layout.top + (index + 0.5) * IconHeight(layout);
  const double halfWidth = layout.iconWidth / 2.0;
  const double x =
      margin == Margin::Left ? layout.leftInnerEdge - halfWidth : layout.rightInnerEdge + halfWidth;
  return {x, y};
}

std::array<CellPoint, 3> KeyCalibrationPoints(const MarginKeyLayout& layout) {
  constexpr int kRightIconAbove = 4;  // the fifth icon's top edge has four icons above it
  return {CellPoint{layout.leftInnerEdge, layout.top},
          CellPoint{layout.leftInnerEdge, layout.bottom},
          CellPoint{layout.rightInnerEdge, layout.top + kRightIconAbove * IconHeight(layout)}};
}

}  // namespace raz::sim
