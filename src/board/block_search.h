#pragma once
// Which of the seven code blocks a sensor row lies in, from its anchor and strongest sensors.
#include <array>
#include <cstdint>

namespace raz {

enum class Axis { X, Y };

// Sensor numbers of the five strongest sensors, T1 first.
using TopSensors = std::array<std::int32_t, 5>;

// Block 1..7, or 0 when the strongest sensors fit no block.
std::int32_t FindBlock(Axis axis, std::int32_t anchor, const TopSensors& top);

}  // namespace raz
