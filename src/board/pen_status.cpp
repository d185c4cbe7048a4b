#include "board/pen_status.h"

#include "board/board_state.h"

namespace raz {
namespace {

constexpr std::int32_t kReportTypeMask = 3;
constexpr std::int32_t kPenCodeReportType = 2;    // pen code bands
constexpr std::int32_t kTouchFlagReportType = 1;  // high codes mean touch
constexpr std::int64_t kHoverCodeEnd = 28;
constexpr std::int64_t kRightButtonHalfWidth = 25;
constexpr std::int32_t kTouchCodeFirst = 200;
constexpr std::int32_t kTouchCodeLast = 255;

// Later bands override earlier ones, so with the settings at 0 the right-button band covers
// the low codes.
std::int32_t StatusFromPenCode(std::int64_t code, std::int64_t touchLimit,
                               std::int64_t rightCentre) {
  std::int32_t status = PenStatusCode::NoPen;
  if (code >= 0 && code <= touchLimit) status = PenStatusCode::Touch;
  if (code >= touchLimit + 1 && code < kHoverCodeEnd) status = PenStatusCode::Hover;
  if (code >= rightCentre - kRightButtonHalfWidth && code < rightCentre + kRightButtonHalfWidth) {
    status = PenStatusCode::RightButton;
  }
  return status;
}

}  // namespace

std::int32_t DecodeStatus(std::int32_t statusByte, std::int32_t penCode,
                          std::int32_t previousLevelY, std::int32_t penTouchLimit,
                          std::int32_t penRightCentre) {
  if (previousLevelY <= kPresenceLevel) return PenStatusCode::NoPen;
  const std::int32_t type = statusByte & kReportTypeMask;
  if (type == kPenCodeReportType) return StatusFromPenCode(penCode, penTouchLimit, penRightCentre);
  if (type == kTouchFlagReportType && penCode >= kTouchCodeFirst && penCode <= kTouchCodeLast) {
    return PenStatusCode::Touch;
  }
  return PenStatusCode::NoPen;
}

}  // namespace raz
