#pragma once
#include <cstdint>
#include <string>

namespace raz {

using WindowHandle = std::uintptr_t;

// The handle that addresses every top-level window at once (the system's HWND_BROADCAST).
inline constexpr WindowHandle kBroadcastWindow = 0xFFFF;

// What a window handle names, as far as this program is concerned.
enum class WindowKind {
  NotAWindow,
  OwnWindow,    // one of this program's windows, top-level or not
  ChildWindow,  // a control or other child window of another program
  OtherProgramsTopLevel,
};

// Window messages to other applications.
class Messenger {
 public:
  virtual ~Messenger() = default;
  virtual bool Post(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                    std::intptr_t lParam) = 0;
  // 0 when no window matches.
  virtual WindowHandle FindWindow(const std::string& className, const std::string& caption) = 0;
  virtual WindowKind KindOf(WindowHandle window) = 0;
};

}  // namespace raz
