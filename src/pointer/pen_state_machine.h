#pragma once
// The pen state machine: from the stream of pen samples to pointer actions.
#include <cstdint>

namespace raz {

class TForm1;

// Largest movement per sample, in pixels on either axis, taken as pen travel; a larger one
// is a misread and is dropped.
inline constexpr std::int32_t kJumpLimit = 150;

// Runs once for each sample that passed the poll tick's gate: compares it with the previous
// one, filters jitter and jumps, smooths drags, adapts Timer1's interval, feeds the
// calibration counters, arms the hold timer and hands the resulting action to the injector.
void RunPenStateMachine(TForm1& form);

}  // namespace raz
