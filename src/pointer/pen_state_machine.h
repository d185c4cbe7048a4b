#pragma once
// The pen state machine: from the stream of pen samples to pointer actions.
#include <cstdint>

#include "pointer/pointer_state.h"

namespace raz {

// Largest movement per sample, in pixels on either axis, taken as pen travel; a larger one
// is a misread and is dropped.
inline constexpr std::int32_t kJumpLimit = 150;

// Poll intervals by pen speed, in milliseconds.
inline constexpr std::uint32_t kSlowPollInterval = 20;
inline constexpr std::uint32_t kMediumPollInterval = 12;
inline constexpr std::uint32_t kFastPollInterval = 5;

// Runs once for each sample whose verdict reaches the pen (any other leaves everything as it
// was): compares it with the previous one, filters jitter and jumps, smooths drags, picks the
// poll interval, counts samples for the calibrations and arms the hold timer. What it decides
// is in the returned step.
PenStep RunPenStateMachine(const PenSample& sample, const PenContext& context,
                           PointerState& pointer);

// Forgets the contact so that the next touch presses anew (the board vanished, or the
// program exits).
void ForgetContact(PointerState& pointer);

// A calibration ended, in any way: the contact so far was measured in raw board units for the
// calibration, not in pixels, so it is forgotten. The rest of a touch drives nothing, and
// neither lift nor release follows when the pen hovers or leaves; the next touch presses anew.
void SwallowContact(PointerState& pointer);

}  // namespace raz
