#pragma once
// What the margin keys do: the action of a tap, the hold messages, and the answers of the
// small message protocol through which a client application registers and asks.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "board/key_layout.h"
#include "platform/messenger.h"
#include "vkeys/key_state.h"

namespace raz {

// Window messages, numbered from the system's WM_USER (0x400).
inline constexpr std::uint32_t kClientRequestMessage = 0x400 + 301;  // client -> driver, sent
inline constexpr std::uint32_t kHoldKeyMessage = 0x400 + 302;        // driver -> hold target
inline constexpr std::uint32_t kKeyActionMessage = 0x400 + 906;      // driver -> client
inline constexpr std::intptr_t kHoldKeyLParam = 5000;

// Client requests (wParam of kClientRequestMessage).
inline constexpr std::uintptr_t kRegisterClient = 101;
inline constexpr std::uintptr_t kAskBoardPresent = 325;
inline constexpr std::uintptr_t kAskKeyCount = 326;
inline constexpr std::intptr_t kKeysPerMargin = 9;

// The band (0 for the top icon .. 8) whose open interval holds the raw Y; nothing on a
// boundary or outside the bands.
std::optional<int> KeyBand(std::int32_t rawY, const KeyLayout& layout);

struct MarginKeyAction {
  bool StartsCalibration = false;        // the first icon
  std::optional<std::uint32_t> Command;  // wParam of kKeyActionMessage for the others
};

// What a press in a margin at the raw Y does; both margins share the bands.
MarginKeyAction KeyActionAt(std::int32_t rawY, const KeyLayout& layout);

// The answer to a client request; a registration remembers the client's window. Only another
// program's top-level window may register: the key commands go to whatever is registered, so
// HWND_BROADCAST would send them to every window, and this program's own windows or another's
// controls would take them as their own messages.
std::intptr_t AnswerClientRequest(std::uintptr_t wParam, std::intptr_t lParam, bool boardPresent,
                                  Messenger& windows, ClientLink& client);

// wParam of each hold message due for the three hold zones, first zone first.
std::vector<std::uintptr_t> HoldKeyParams(const std::array<bool, 3>& zoneHit);

}  // namespace raz
