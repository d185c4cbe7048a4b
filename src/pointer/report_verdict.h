#pragma once
// The one judgement of a new report: whether it moves the pen, or why not. The poll tick makes
// it; the pen state machine and the injector act on it.
#include "board/board_state.h"
#include "pointer/pointer_state.h"

namespace raz {

// The checks in the order they are made: a rejected sample first, then the framing's own
// condition, then a contact being swallowed. `wholeFrameStored` matters for framed boards only.
ReportVerdict JudgeReport(const PenSample& sample, ReportFraming framing, bool wholeFrameStored,
                          const PointerState& pointer);

}  // namespace raz
