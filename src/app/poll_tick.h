#pragma once
// The parts of a poll tick that join the stages' results into the current sample.
#include "app/driver_state.h"
#include "board/report_decoder.h"
#include "pointer/pointer_state.h"

namespace raz {

// The reading becomes the current sample; its position is interpolated and, outside a
// calibration, mapped onto the screen. What a fresh position finds against the margin keys
// goes to the key place.
void TakeReading(DriverState& state, const DecodeResult& decoded);

// A touch or hover position, in board units in screen scale, as a pixel of the board's
// monitor: through the calibration, and in proportion when the tour ran at another size.
ScreenPoint MapToPixel(DriverState& state, BoardPoint point);

// The one judgement of a new report: whether it moves the pen, or why not. The checks in the
// order they are made: a rejected sample first, then the framing's own condition, then a
// contact being swallowed. `wholeFrameStored` matters for framed boards only. The pen state
// machine and the injector act on the verdict.
ReportVerdict JudgeReport(const PenSample& sample, ReportFraming framing, bool wholeFrameStored,
                          const PointerState& pointer);

}  // namespace raz
