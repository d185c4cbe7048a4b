#pragma once
// Where the projected screen lies on the board. A projector never hits the board squarely:
// the image is shifted, scaled differently on the two axes, turned a little and keystoned
// (wider at the bottom than at the top). The calibration exists to undo exactly this, so the
// simulator applies it to every position given in screen pixels.
//
// Model, with (u, v) a screen position in pixels and W, H the screen size:
//   a = u / W - 0.5, b = v / H - 0.5               (centred, -0.5 .. 0.5)
//   (a, b) *= 1 - barrel * (a^2 + b^2)             (a lens that pulls the corners in)
//   a' = a * (1 + 2 * keystone * b)                (top edge (1 - keystone) wide, bottom 1 + ...)
//   b' = b * (1 + 2 * keystoneX * a)               (left edge (1 - keystoneX) high, right 1 + ...)
//   (dx, dy) = (a' * widthCells, b' * heightCells)
//   board = centre + rotate((dx, dy), rotation)    (clockwise on the board for positive angles,
//                                                   since board y grows downward)
#include <cstdint>

#include "sim/pen_state.h"

namespace raz::sim {

struct PixelPoint {
  double x = 0.0;
  double y = 0.0;
  bool operator==(const PixelPoint&) const = default;
};

struct ProjectionConfig {
  std::int32_t screenWidth = 1024;
  std::int32_t screenHeight = 768;
  CellPoint centre{88.0, 72.0};  // board position of the screen's centre, in cells
  double widthCells = 94.0;       // screen width on the board at mid height
  double heightCells = 120.0;
  double rotationDegrees = 0.4;
  double keystone = 0.02;  // kept within ±0.45 so that no screen row collapses
  double keystoneX = 0.0;  // the same along the other axis, also within ±0.45
  double barrel = 0.0;     // within ±0.2: the corners move by at most a tenth
};

class Projection {
 public:
  explicit Projection(ProjectionConfig config = {});

  CellPoint ToBoard(PixelPoint pixel) const;
  PixelPoint ToScreen(CellPoint board) const;

  const ProjectionConfig& config() const { return config_; }

 private:
  // (a, b) centred on the screen to the board offset before the rotation.
  CellPoint Distort(double a, double b) const;

  ProjectionConfig config_;
  double cos_ = 1.0;
  double sin_ = 0.0;
};

}  // namespace raz::sim
