#include "platform/win32/win32_devices.h"

#include "platform/win32/unique_handles.h"
#include "platform/win32/utf.h"
#include "platform/win32/win32_api.h"

namespace raz::win32 {
namespace {

int ScreenCapability(int index) {
  const WindowDc screen(nullptr);
  return screen.Get() == nullptr ? 0 : ::GetDeviceCaps(screen.Get(), index);
}

HWND ToWindow(WindowHandle window) { return reinterpret_cast<HWND>(window); }

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFOEXW info{};
  info.cbSize = sizeof(info);
  if (!::GetMonitorInfoW(monitor, &info)) return TRUE;
  const RECT& r = info.rcMonitor;
  reinterpret_cast<std::vector<MonitorInfo>*>(list)->push_back(
      {Narrow(info.szDevice),
       {r.left, r.top, r.right - r.left, r.bottom - r.top},
       (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  return TRUE;
}

}  // namespace

int Win32Display::HorizontalResolution() { return ScreenCapability(HORZRES); }

int Win32Display::VerticalResolution() { return ScreenCapability(VERTRES); }

std::vector<MonitorInfo> Win32Display::Monitors() {
  std::vector<MonitorInfo> monitors;
  if (!::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors))) {
    monitors.clear();
  }
  return monitors;
}

void Win32MouseOutput::Emit(std::uint32_t flags, std::int32_t dx, std::int32_t dy) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.mouseData = 0;
  input.mi.dwFlags = flags;
  input.mi.time = 0;
  input.mi.dwExtraInfo = 0;
  ::SendInput(1, &input, sizeof(input));
}

bool Win32Messenger::Post(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam) {
  return ::PostMessageW(ToWindow(window), message, static_cast<WPARAM>(wParam),
                        static_cast<LPARAM>(lParam)) != 0;
}

WindowHandle Win32Messenger::FindWindow(const std::string& className, const std::string& caption) {
  // Empty names go as empty strings, never as null: null would match any window.
  const std::wstring wideClass = Widen(className);
  const std::wstring wideCaption = Widen(caption);
  return reinterpret_cast<WindowHandle>(::FindWindowW(wideClass.c_str(), wideCaption.c_str()));
}

WindowKind Win32Messenger::KindOf(WindowHandle window) {
  const HWND hwnd = ToWindow(window);
  if (window == 0 || !::IsWindow(hwnd)) return WindowKind::NotAWindow;
  DWORD process = 0;
  ::GetWindowThreadProcessId(hwnd, &process);
  if (process == ::GetCurrentProcessId()) return WindowKind::OwnWindow;
  // The root of a top-level window (owned or not, message-only too) is the window itself.
  if (::GetAncestor(hwnd, GA_ROOT) != hwnd) return WindowKind::ChildWindow;
  return WindowKind::OtherProgramsTopLevel;
}

}  // namespace raz::win32
