#include "sim/margin_keys.h"

#include <algorithm>

namespace raz::sim {
namespace {

double IconHeight(const MarginKeyLayout& layout) {
  return (layout.bottom - layout.top) / kKeysPerMargin;
}

}  // namespace

BoardPoint KeyCentre(const MarginKeyLayout& layout, Margin margin, int icon) {
  const int index = std::clamp(icon, 1, kKeysPerMargin) - 1;
  const double y = layout.top + (index + 0.5) * IconHeight(layout);
  const double halfWidth = layout.iconWidth / 2.0;
  const double x =
      margin == Margin::Left ? layout.leftInnerEdge - halfWidth : layout.rightInnerEdge + halfWidth;
  return {x, y};
}

std::array<BoardPoint, 3> KeyCalibrationPoints(const MarginKeyLayout& layout) {
  constexpr int kRightIconAbove = 4;  // the fifth icon's top edge has four icons above it
  return {BoardPoint{layout.leftInnerEdge, layout.top},
          BoardPoint{layout.leftInnerEdge, layout.bottom},
          BoardPoint{layout.rightInnerEdge, layout.top + kRightIconAbove * IconHeight(layout)}};
}

}  // namespace raz::sim
