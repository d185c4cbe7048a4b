#pragma once
// The keystone-exact mapping: a second board-to-screen mapping from the same nine calibration
// points, exact for a projector that is not square to the board.
#include <array>
#include <cstdint>
#include <optional>

#include "base/points.h"

namespace raz {

// Which mapping turns board units into pixels: the eight-sector transform, or the
// keystone-exact one. Stored as the number of the Mapping key; anything but 1 is standard.
enum class Mapping { Standard = 0, KeystoneExact = 1 };

Mapping MappingFromStored(std::int32_t stored);
inline std::int32_t StoredNumber(Mapping mapping) { return static_cast<std::int32_t>(mapping); }

// Screen positions are normalised to the nine targets' grid: u runs -1, 0, 1 across the
// columns, v -1, 0, 1 down the rows. The board is the picture of that grid under
//   forward(u, v) = (a0 + a1 u + a2 v + a3 uv, b0 + b1 u + b2 v + b3 uv) / (1 + c1 u + c2 v)
// fitted to the nine points, plus the fit's nine residuals interpolated bilinearly inside
// each quadrant of the grid. Both parts are continuous, and together they carry every grid
// node exactly onto its measured point.
struct KeystoneModel {
  bool Usable = false;  // false: the sector transform maps every sample
  PointD Centre;        // the ideal grid's centre, board units in screen scale
  double HalfWidth = 0.0;   // board units from the centre to the outer columns
  double HalfHeight = 0.0;  // and to the outer rows
  PointD Centring;          // under a unit: moves each target onto the centre of its pixel
  // a0..a3, b0..b3, c1, c2, on board positions normalised like the grid.
  std::array<double, 10> Fit{};
  std::array<PointD, 9> Residual{};  // measured minus fitted, per grid index, normalised
};

// Fits the model to the nine points in board units in screen scale; the result is unusable
// when the points do not span a grid the mapping can invert without folding.
KeystoneModel BuildKeystoneModel(const std::array<PointF, 9>& points);

// A position in board units in screen scale to the same units on the ideal grid (before the
// screen offsets are taken off); nothing for an unusable model or a position so far off the
// grid that the mapping has no inverse there.
std::optional<PointD> MapKeystoneExact(const KeystoneModel& model, PointD board);

}  // namespace raz
