#pragma once
// The board link as the device watch keeps it: apply a confirmed framing and model choice,
// probe the board every two seconds, open it when needed at the link rate of its framing.
#include <cstdint>
#include <optional>

#include "board/board_state.h"
#include "platform/vendor_usb.h"

namespace raz {

inline constexpr std::uint32_t kPlainLinkRate = 460800;
inline constexpr std::uint32_t kFramedLinkRate = 115200;

// Board models of the settings dialog, by index (server1111.txt).
inline constexpr const char* kBoardModelNames[] = {"KX", "RU82", "VI100"};
inline constexpr std::int32_t kBoardModelCount = 3;

constexpr bool IsBoardModel(std::int32_t model) { return model >= 0 && model < kBoardModelCount; }

// The link rate the board's framing needs; no rate for an unknown framing.
std::optional<std::uint32_t> LinkRateFor(std::int32_t framing);

// What the user confirmed in the settings dialog; an empty field keeps the current value.
struct BoardChoice {
  std::optional<std::int32_t> ReportFraming;
  std::optional<std::int32_t> BoardModel;
  bool operator==(const BoardChoice&) const = default;
};

void ApplyBoardChoice(const BoardChoice& choice, LinkState& link);

struct LinkWatch {
  bool Found = false;   // the probe found the board
  bool Opened = false;  // the link was opened: the board can be polled
};

// One probe, and the open it calls for: when the link is to be opened (at start, after a loss)
// or reopened (reopen: a choice was confirmed, so the link must run at the rate its framing
// now needs). A handle still held is closed first, and the board is opened at most once.
LinkWatch WatchLink(VendorUsb& usb, LinkState& link, bool reopen);

// A read on the link failed: the board is gone or was reset. The next watch opens it again.
void MarkLinkLost(LinkState& link);

}  // namespace raz
