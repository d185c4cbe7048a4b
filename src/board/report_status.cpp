#include "board/report_status.h"

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
PenStatus StatusFromPenCode(std::int64_t code, std::int64_t touchLimit, std::int64_t rightCentre) {
  PenStatus status = PenStatus::NoPen;
  if (code >= 0 && code <= touchLimit) status = PenStatus::Touch;
  if (code >= touchLimit + 1 && code < kHoverCodeEnd) status = PenStatus::Hover;
  if (code >= rightCentre - kRightButtonHalfWidth && code < rightCentre + kRightButtonHalfWidth) {
    status = PenStatus::RightButton;
  }
  return status;
}

}  // namespace

PenStatus DecodeStatus(std::int32_t statusByte, std::int32_t penCode, std::int32_t previousLevelY,
                       const PenSettings& pen) {
  if (previousLevelY <= kSignalLevel) return PenStatus::NoPen;
  const std::int32_t type = statusByte & kReportTypeMask;
  if (type == kPenCodeReportType)
    return StatusFromPenCode(penCode, pen.PenTouchLimit, pen.PenRightCentre);
  if (type == kTouchFlagReportType && penCode >= kTouchCodeFirst && penCode <= kTouchCodeLast) {
    return PenStatus::Touch;
  }
  return PenStatus::NoPen;
}

}  // namespace raz
