#include "sim/pen_code.h"

#include <vector>

namespace raz::sim {
namespace {

constexpr std::uint8_t kTypeOne = 1;
constexpr std::uint8_t kTypeTwo = 2;
constexpr std::int32_t kHoverCodeEnd = 28;    // type 2: codes above the touch band up to here hover
constexpr std::int32_t kRightHalfWidth = 25;  // type 2: right-button band around PenRight
constexpr std::int32_t kTouchCodeFirst = 200;  // type 1: codes from here up mean touch

PenStatus TypeTwoStatus(std::int32_t code, const StatusEncoding& encoding) {
  PenStatus status = PenStatus::NoPen;
  if (code >= 0 && code <= encoding.penTouchLimit) status = PenStatus::Touch;
  // Each later band overrides the earlier one, so the right-button band wins any overlap.
  if (static_cast<std::int64_t>(encoding.penTouchLimit) + 1 <= code && code < kHoverCodeEnd) {
    status = PenStatus::Hover;
  }
  const std::int64_t centre = encoding.penRightCentre;
  if (centre - kRightHalfWidth <= code && code < centre + kRightHalfWidth) {
    status = PenStatus::RightButton;
  }
  return status;
}

// A code from the middle of the codes that read as wanted: away from the band edges, where a
// settings change of one would flip the meaning.
std::optional<StatusBytes> MiddleCode(std::uint8_t type, PenStatus wanted,
                                      const StatusEncoding& encoding) {
  std::vector<std::uint8_t> codes;
  for (int code = 0; code <= 255; ++code) {
    const auto byte = static_cast<std::uint8_t>(code);
    if (StatusFromCode(type, byte, encoding) == wanted) codes.push_back(byte);
  }
  if (codes.empty()) return std::nullopt;
  return StatusBytes{type, codes[codes.size() / 2]};
}

}  // namespace

PenStatus StatusFromCode(std::uint8_t statusByte, std::uint8_t penCode,
                         const StatusEncoding& encoding) {
  const int type = statusByte & 3;
  if (type == kTypeTwo) return TypeTwoStatus(penCode, encoding);
  if (type == kTypeOne && penCode >= kTouchCodeFirst) return PenStatus::Touch;
  return PenStatus::NoPen;
}

PenStatus WantedStatus(PenContact contact) {
  switch (contact) {
    case PenContact::Touch:
      return PenStatus::Touch;
    case PenContact::Hover:
      return PenStatus::Hover;
    case PenContact::RightButton:
      return PenStatus::RightButton;
    case PenContact::Near:
    case PenContact::Away:
      break;
  }
  return PenStatus::NoPen;
}

std::optional<StatusBytes> StatusBytesFor(PenStatus wantedStatus, const StatusEncoding& encoding) {
  std::optional<StatusBytes> bytes;
  if (encoding.kind != BoardKind::TypeOne) bytes = MiddleCode(kTypeTwo, wantedStatus, encoding);
  if (!bytes && encoding.kind != BoardKind::TypeTwo) {
    bytes = MiddleCode(kTypeOne, wantedStatus, encoding);
  }
  if (!bytes && wantedStatus == PenStatus::NoPen) bytes = StatusBytes{0, 0};
  return bytes;
}

}  // namespace raz::sim
