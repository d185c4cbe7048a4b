#pragma once
// Finding the board's monitor by touch: where each monitor's cross stands, and which cross a
// touch lands on.
#include <cstddef>
#include <optional>

#include "base/points.h"

namespace raz {

// Monitor n of count gets its cross at (n + 1) / (count + 1) of its width and height: the
// crosses stand apart on the board whichever monitor the projector shows.
ScreenPoint FindingCross(std::size_t n, std::size_t count, ScreenRect monitor);

// The monitor whose cross a touch, in pixels of a picture of that size, is nearest to, when it
// is within 0.15 of the picture; nullopt for a touch near none.
std::optional<std::size_t> PickByTouch(ScreenPoint touch, ScreenSize picture, std::size_t count);

}  // namespace raz
