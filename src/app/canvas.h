#pragma once
// Drawing on an Image's pixel buffer: the calibration surface and its crosses.
#include <cstdint>

#include "app/components.h"
#include "base/points.h"

namespace raz {

inline constexpr std::uint32_t kWhite = 0xFFFFFF;
inline constexpr std::uint32_t kRed = 0xFF0000;

// Half the length of a cross's arms, in pixels.
inline constexpr std::int32_t kCrossArm = 20;

// Makes the image cover a screen of the given size, all white. A screen of unknown size gets
// the form's design size.
void CoverScreen(Image& image, ScreenSize screen);

void FillImage(Image& image, std::uint32_t colour);

// Two lines one pixel wide through the centre, kCrossArm long on each side, clipped to the
// image. Red shows a target; the same lines in white erase it.
void DrawCross(Image& image, ScreenPoint centre, std::uint32_t colour);

}  // namespace raz
