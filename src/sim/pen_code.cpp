#include "sim/pen_code.h"

#include <vector>

namespace raz::sim {
namespace {

constexpr std::uint8_t kTypeOne = 1;
constexpr std::uint8_t kTypeTwo = 2;
constexpr std::int32_t kHoverCodeEnd = 28;    // type 2: codes above the touch band up to here hover
constexpr std::int32_t kRightHalfWidth = 25;  // type 2: right-button band around PenRight
constexpr std::int32_t kTouchCodeFirst = 200;  // type 1: codes from here up mean touch

std::int32_t TypeTwoStatus(std::int32_t code, const StatusEncoding& encoding) {
  std::int32_t status = Status::NoPen;
  if (code >= 0 && code <= encoding.penTouchLimit) status = Status::Touch;
  // Each later band overrides the earlier one, so the right-button band wins any overlap.
  if (static_cast<std::int64_t>(encoding.penTouchLimit) + 1 <= code && code < kHoverCodeEnd) {
    status = Status::Hover;
  }
  const std::int64_t centre = encoding.penRightCentre;
  if (centre - kRightHalfWidth <= code && code < centre + kRightHalfWidth) {
    status = Status::RightButton;
  }
  return status;
}

// A code from the middle of the codes that read as wanted: away from the band edges, where a
// settings change of one would flip the meaning.
std::optional<StatusBytes> MiddleCode(std::uint8_t type, std::int32_t wanted,
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

std::int32_t StatusFromCode(std::uint8_t statusByte, std::uint8_t penCode,
                            const StatusEncoding& encoding) {
  const int type = statusByte & 3;
  if (type == kTypeTwo) return TypeTwoStatus(penCode, encoding);
  if (type == kTypeOne && penCode >= kTouchCodeFirst) return Status::Touch;
  return Status::NoPen;
}

std::int32_t WantedStatus(PenContact contact) {
  switch (contact) {
    case PenContact::Touch:
      return Status::Touch;
    case PenContact::Hover:
      return Status::Hover;
    case PenContact::RightButton:
      return Status::RightButton;
    case PenContact::Near:
    case PenContact::Away:
      break;
  }
  return Status::NoPen;
}

std::optional<StatusBytes> StatusBytesFor(std::int32_t wantedStatus,
                                          const StatusEncoding& encoding) {
  std::optional<StatusBytes> bytes;
  if (encoding.kind != BoardKind::TypeOne) bytes = MiddleCode(kTypeTwo, wantedStatus, encoding);
  if (!bytes && encoding.kind != BoardKind::TypeTwo) {
    bytes = MiddleCode(kTypeOne, wantedStatus, encoding);
  }
  if (!bytes && wantedStatus == Status::NoPen) bytes = StatusBytes{0, 0};
  return bytes;
}

}  // namespace raz::sim
