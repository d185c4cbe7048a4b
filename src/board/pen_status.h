#pragma once
// The pen status of a report, from its report type, its pen code and the signal strength.
#include <cstdint>

namespace raz {

// The signal the status is judged by must exceed this; weaker reports say "no pen".
inline constexpr std::int32_t kPresenceLevel = 30;

// statusByte and penCode are slots 1 and 2 of the report store. previousLevelY is the Y
// level of the previously decoded report: the status is settled before this report's own
// rows are decoded.
std::int32_t DecodeStatus(std::int32_t statusByte, std::int32_t penCode,
                          std::int32_t previousLevelY, std::int32_t penTouchLimit,
                          std::int32_t penRightCentre);

}  // namespace raz
