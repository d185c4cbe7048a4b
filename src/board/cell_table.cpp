#include "board/cell_table.h"

namespace raz {

// Seven blocks of 21 cells. The anchors 1, 4, ..., 19 keep their place in every block; the
// fourteen sensors between them are permuted so that a neighbour of the anchor names the block.
// clang-format off
const std::array<std::int32_t, kCellTableSize> CellSensorTable{
    0,
    1, 5,  15, 4, 8,  18, 7, 11, 21, 10, 14, 3,  13, 17, 6,  16, 20, 9,  19, 2,  12,
    1, 8,  6,  4, 11, 9,  7, 14, 12, 10, 17, 15, 13, 20, 18, 16, 2,  21, 19, 5,  3,
    1, 11, 18, 4, 14, 21, 7, 17, 3,  10, 20, 6,  13, 2,  9,  16, 5,  12, 19, 8,  15,
    1, 14, 9,  4, 17, 12, 7, 20, 15, 10, 2,  18, 13, 5,  21, 16, 8,  3,  19, 11, 6,
    1, 17, 21, 4, 20, 3,  7, 2,  6,  10, 5,  9,  13, 8,  12, 16, 11, 15, 19, 14, 18,
    1, 20, 12, 4, 2,  15, 7, 5,  18, 10, 8,  21, 13, 11, 3,  16, 14, 6,  19, 17, 9,
    1, 2,  3,  4, 5,  6,  7, 8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21,
    0, 0,  0};
// clang-format on

std::int32_t SensorAtCell(std::int64_t cell) {
  if (cell < 0 || cell >= kCellTableSize) return 0;
  return CellSensorTable[static_cast<std::size_t>(cell)];
}

}  // namespace raz
