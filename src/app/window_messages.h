#pragma once
// The messages the main window answers itself. Both hosts hand these to
// TForm1::WindowMessage; every other message gets the window's default handling.
#include <cstdint>

#include "shell/tray.h"
#include "vkeys/key_actions.h"

namespace raz {

// The mouse messages the tray icon's callback carries in lParam.
namespace TrayMouse {
inline constexpr std::intptr_t LeftButtonDown = 0x0201;
inline constexpr std::intptr_t LeftButtonUp = 0x0202;
inline constexpr std::intptr_t LeftButtonDoubleClick = 0x0203;
inline constexpr std::intptr_t RightButtonUp = 0x0205;
}  // namespace TrayMouse

constexpr bool IsMainWindowMessage(std::uint32_t message) {
  return message == kClientRequestMessage || message == kTrayCallbackMessage;
}

}  // namespace raz
