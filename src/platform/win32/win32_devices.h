#pragma once
// The display, the mouse and window messages: each a thin layer over one user32 call.
#include "platform/display.h"
#include "platform/messenger.h"
#include "platform/mouse_output.h"

namespace raz::win32 {

// The primary display through the screen's device context. The manifest makes the process
// per-monitor DPI aware, so these are real pixels, not scaled ones.
class Win32Display : public Display {
 public:
  int HorizontalResolution() override;
  int VerticalResolution() override;
  std::vector<MonitorInfo> Monitors() override;
};

class Win32MouseOutput : public MouseOutput {
 public:
  void Emit(std::uint32_t flags, std::int32_t dx, std::int32_t dy) override;
};

class Win32Messenger : public Messenger {
 public:
  bool Post(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
            std::intptr_t lParam) override;
  WindowHandle FindWindow(const std::string& className, const std::string& caption) override;
  WindowKind KindOf(WindowHandle window) override;
};

}  // namespace raz::win32
