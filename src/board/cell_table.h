#pragma once
// The board's position code: which sensor line answers in each of the 147 cells of an axis.
#include <array>
#include <cstdint>

namespace raz {

inline constexpr int kCodeBlocks = 7;
inline constexpr int kCellsPerBlock = 21;
inline constexpr int kCellTableSize = 151;

// Entry 0 and entries 148..150 hold sensor 0, which never answers.
extern const std::array<std::int32_t, kCellTableSize> CellSensorTable;

// Sensor of a cell; cells outside the table carry sensor 0.
std::int32_t SensorAtCell(std::int64_t cell);

// Every third sensor line; one of them sits on every third cell of every block.
constexpr bool IsAnchorSensor(std::int32_t sensor) {
  return sensor >= 1 && sensor <= 19 && (sensor - 1) % 3 == 0;
}

}  // namespace raz
