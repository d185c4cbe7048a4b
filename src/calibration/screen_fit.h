#pragma once
// A user's calibration on a picture of another size. The tour ran on a picture of one size;
// when the board's monitor changes resolution (a duplicated desktop made extended, another
// laptop plugged in) the projector still lights the same area of the board, and shows the new
// picture there with its shape kept: a picture of another shape stands in the middle of that
// area with bars beside it (letterbox), as projectors do unless told to stretch.
#include "base/points.h"

namespace raz {

// The size the tour ran at and the size of the picture now. No known tour size, or the same
// size: pixels are the tour's own.
struct ScreenFit {
  ScreenSize Tour;
  ScreenSize Now;
  bool Needed() const {
    return Tour.Width > 0 && Tour.Height > 0 && Now.Width > 0 && Now.Height > 0 && Tour != Now;
  }
};

// Where a point of the tour's picture, in its pixels, lies on today's picture, in its pixels.
PointD FitToScreen(PointD tourPixel, const ScreenFit& fit);

}  // namespace raz
