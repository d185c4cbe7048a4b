#pragma once
// The positions of the current drag stroke and their smoothing.
#include <cstdint>

#include "pointer/pointer_state.h"

namespace raz {

// Appends one moving touch position as the newest entry of the stroke.
void AppendToHistory(PointerState& pointer, std::int32_t x, std::int32_t y);

// Replaces the newest entry (HistoryCount must be at least 3) by 0.25, 0.25 and 0.5 of the
// three newest entries, stored as a float in SmoothedX/SmoothedY and truncated toward zero.
void SmoothNewest(PointerState& pointer);

// The newest entry of the stroke.
std::int32_t NewestX(const PointerState& pointer);
std::int32_t NewestY(const PointerState& pointer);

}  // namespace raz
