#include "app/canvas.h"

#include <algorithm>

namespace raz {
namespace {

constexpr int kDesignWidth = 1600;
constexpr int kDesignHeight = 900;

void Put(Image& image, std::int32_t x, std::int32_t y, std::uint32_t colour) {
  if (x < 0 || y < 0 || x >= image.Width || y >= image.Height) return;
  image.Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.Width) +
               static_cast<std::size_t>(x)] = colour;
}

}  // namespace

void CoverScreen(Image& image, ScreenSize screen) {
  const bool known = screen.Width > 0 && screen.Height > 0;
  PlaceControl(image, 0, 0, known ? screen.Width : kDesignWidth,
               known ? screen.Height : kDesignHeight);
  image.Pixels.assign(
      static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height), kWhite);
}

void FillImage(Image& image, std::uint32_t colour) {
  std::fill(image.Pixels.begin(), image.Pixels.end(), colour);
}

void DrawCross(Image& image, ScreenPoint centre, std::uint32_t colour) {
  if (image.Pixels.size() != static_cast<std::size_t>(std::max(image.Width, 0)) *
                                 static_cast<std::size_t>(std::max(image.Height, 0))) {
    return;
  }
  for (std::int32_t d = -kCrossArm; d <= kCrossArm; ++d) {
    Put(image, centre.x + d, centre.y, colour);
    Put(image, centre.x, centre.y + d, colour);
  }
}

}  // namespace raz
