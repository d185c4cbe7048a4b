#pragma once
// The notification-area icon of the main window.
#include <cstdint>
#include <string_view>

#include "platform/shell.h"

namespace raz {

inline constexpr std::uint32_t kTrayIconId = 1006;
inline constexpr std::uint32_t kTrayCallbackMessage = 0x8000 + 100;  // WM_APP + 100
inline constexpr std::uint32_t kTrayMessageFlag = 0x1;               // NIF_MESSAGE
inline constexpr std::uint32_t kTrayIconFlag = 0x2;                  // NIF_ICON
inline constexpr std::uint32_t kTrayTipFlag = 0x4;                   // NIF_TIP
inline constexpr std::size_t kTrayTipCharacters = 63;

// The record of one operation: a modify carries the icon (the board with the pen while data
// arrives, the grey board otherwise) and the tip, cut at 63 characters.
TrayIconRecord MakeTrayRecord(TrayOperation operation, bool dataReceived, std::string_view tip);

bool TrayMessage(Shell& shell, TrayOperation operation, bool dataReceived, std::string_view tip);

// Whether the notification area holds the icon. An add fails while there is no taskbar yet (a
// start with the user's logon can come first) and the icon is gone once the taskbar is made
// anew, so the driver keeps asking until it is there.
struct TrayIconState {
  bool Added = false;
  // Whether the icon shows the board with the pen: data arrived. The poll runs every 2 ms,
  // faster than a board sends its reports, so a single poll often finds the queue empty while
  // the board works; the icon goes by every poll since the previous refresh instead.
  bool ShowsData = true;  // until the first poll
  bool Polled = false;    // since the previous watch
  bool DataSeen = false;  // by any of those polls
};

// Every poll: note whether it found data.
void NotePoll(TrayIconState& tray, bool dataReceived);
// Every device watch, before it refreshes the icon: the board delivered data if any poll since
// the previous watch found some; without a poll the last one's result stands.
void TakePolls(TrayIconState& tray, bool lastPollReceived);

// Adds the icon when it is not known to be there, then modifies it. A failed modify means the
// icon is gone, so the next refresh adds it again; a failed add followed by a modify that
// succeeds means it was there all along.
void RefreshTrayIcon(Shell& shell, TrayIconState& tray, std::string_view tip);

}  // namespace raz
