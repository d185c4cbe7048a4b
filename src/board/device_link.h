#pragma once
// The board link as the device watch keeps it: apply a confirmed framing and model choice,
// probe the board every two seconds, open it when needed at the link rate of its framing.
#include <cstdint>
#include <optional>
#include <string_view>

#include "board/board_state.h"
#include "platform/vendor_usb.h"

namespace raz {

inline constexpr std::uint32_t kPlainLinkRate = 460800;
inline constexpr std::uint32_t kFramedLinkRate = 115200;

// Board models of the settings dialog, stored by index (server1111.txt).
enum class BoardModelKind : std::int32_t { KX = 0, RU82 = 1, VI100 = 2 };
inline constexpr const char* kBoardModelNames[] = {"KX", "RU82", "VI100"};
inline constexpr std::int32_t kBoardModelCount = 3;

// The model a stored number names, or nothing for a number that names none.
constexpr std::optional<BoardModelKind> BoardModelFromStored(std::int32_t stored) {
  if (stored < 0 || stored >= kBoardModelCount) return std::nullopt;
  return static_cast<BoardModelKind>(stored);
}

constexpr std::int32_t StoredNumber(BoardModelKind model) {
  return static_cast<std::int32_t>(model);
}

// The model of one of kBoardModelNames, or nothing for another text.
std::optional<BoardModelKind> BoardModelNamed(std::string_view name);

// The link rate the board's framing needs.
std::uint32_t LinkRateFor(ReportFraming framing);

// What the user confirmed in the settings dialog; an empty field keeps the current value.
struct BoardChoice {
  std::optional<raz::ReportFraming> ReportFraming;
  std::optional<BoardModelKind> BoardModel;
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
