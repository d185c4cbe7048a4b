#pragma once
// Positions as they travel from the board to the screen. Each unit has its own type so that a
// stage cannot take one for another:
//   RawBoardPoint  raw board units, ten per half-cell (the margin keys, the key calibration)
//   BoardPoint     board units in screen scale, raw x calibration scale x 0.1 (transform input)
//   ScreenPoint    screen pixels
#include <cstdint>

namespace raz {

struct RawBoardPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const RawBoardPoint&) const = default;
};

struct BoardPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const BoardPoint&) const = default;
};

struct ScreenPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

// A stored coordinate pair: calibration points and key-calibration points are 32-bit floats.
struct PointF {
  float x = 0.0f;
  float y = 0.0f;
  bool operator==(const PointF&) const = default;
};

// The display's resolution in pixels.
struct ScreenSize {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  bool operator==(const ScreenSize&) const = default;
};

// A rectangle of the virtual desktop, in physical pixels: the primary monitor's top-left is
// 0,0 and a monitor left of or above it has negative coordinates.
struct ScreenRect {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  ScreenSize Size() const { return {Width, Height}; }
  bool operator==(const ScreenRect&) const = default;
};

struct PointD {
  double x = 0.0;
  double y = 0.0;
};

}  // namespace raz
