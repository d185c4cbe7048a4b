#pragma once
// The status byte and pen code a board sends for each pen state. A report's type (bits 0-1 of
// the status byte) and its pen code mean touch, hover, right button or nothing only through
// the driver's Pen and PenRight settings, so the simulated board is told those settings and
// picks codes that the driver will read back as the state it simulates.
#include <cstdint>
#include <optional>

#include "base/pen_status.h"
#include "sim/pen_state.h"

namespace raz::sim {

// Which report types the board may send. Mixed boards send type 1 for touch when type 2 cannot
// express it (with Pen and PenRight at 0, every type-2 code up to 24 reads as right button).
enum class BoardKind { TypeOne, TypeTwo, Mixed };

struct StatusEncoding {
  BoardKind kind = BoardKind::Mixed;
  std::int32_t penTouchLimit = 0;   // the driver's Pen setting
  std::int32_t penRightCentre = 0;  // the driver's PenRight setting
};

struct StatusBytes {
  std::uint8_t status = 0;
  std::uint8_t penCode = 0;
  bool operator==(const StatusBytes&) const = default;
};

// The status the driver reads from a report when the signal is strong enough to count.
PenStatus StatusFromCode(std::uint8_t statusByte, std::uint8_t penCode,
                         const StatusEncoding& encoding);

// The status a pen state should read as.
PenStatus WantedStatus(PenContact contact);

// Bytes that read back as the wanted status; nothing when the board kind and the settings
// leave no such code. "No pen" always has bytes: a report of type 0 never means a pen.
std::optional<StatusBytes> StatusBytesFor(PenStatus wantedStatus, const StatusEncoding& encoding);

}  // namespace raz::sim
