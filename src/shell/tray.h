#pragma once
// The notification-area icon of the main window.
#include <cstdint>

#include "platform/shell.h"

namespace raz {

class TForm1;

inline constexpr std::uint32_t kTrayIconId = 1006;
inline constexpr std::uint32_t kTrayFlags = 7;  // message, icon and tip
inline constexpr std::uint32_t kTrayCallbackMessage = 0x8000 + 100;

TrayIconRecord MakeTrayRecord(TForm1& form, TrayOperation operation);
bool TrayMessage(TForm1& form, TrayOperation operation);

}  // namespace raz
