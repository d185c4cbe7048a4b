#include "calibration/screen_fit.h"

#include <algorithm>

namespace raz {

PointD FitToScreen(PointD tourPixel, const ScreenFit& fit) {
  if (!fit.Needed()) return tourPixel;
  // Tour pixels per pixel now: the new picture as large as the area lets it be.
  const double k = std::min(static_cast<double>(fit.Tour.Width) / fit.Now.Width,
                            static_cast<double>(fit.Tour.Height) / fit.Now.Height);
  const double barX = (fit.Tour.Width - fit.Now.Width * k) / 2;
  const double barY = (fit.Tour.Height - fit.Now.Height * k) / 2;
  return {(tourPixel.x - barX) / k, (tourPixel.y - barY) / k};
}

}  // namespace raz
