#pragma once
// The parts of a poll tick that join the stages' results into the current sample.
#include "app/driver_state.h"
#include "board/report_decoder.h"

namespace raz {

// The reading becomes the current sample; its position is interpolated and, outside a
// calibration, mapped onto the screen. What a fresh position finds against the margin keys
// goes to the key place.
void TakeReading(DriverState& state, const DecodeResult& decoded);

}  // namespace raz
