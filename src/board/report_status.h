#pragma once
// The pen status of a report, from its report type, its pen code and the signal strength.
#include <cstdint>

#include "base/pen_status.h"
#include "board/board_state.h"

namespace raz {

// statusByte and penCode are slots 1 and 2 of the report store. previousLevelY is the Y
// level of the previously decoded report: the status is settled before this report's own
// rows are decoded, and a signal at or below kSignalLevel says "no pen".
PenStatus DecodeStatus(std::int32_t statusByte, std::int32_t penCode, std::int32_t previousLevelY,
                       const PenSettings& pen);

}  // namespace raz
