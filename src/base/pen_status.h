#pragma once
// What a report says the pen is doing, and the signal level every stage judges a report by.
#include <cstdint>

namespace raz {

// The values are the board protocol's own codes.
enum class PenStatus : std::int32_t {
  NoPen = 0x00,
  Hover = 0x55,  // pen present but not pressing
  RightButton = 0x5F,
  Touch = 0xAA,
};

// A report whose Y signal is at or below this level carries no pen: its status reads as no
// pen, it moves no position and it injects nothing.
inline constexpr std::int32_t kSignalLevel = 30;

}  // namespace raz
