// The desktop as a Windows program sees it, for the Wine desktop checks
// (tests/wine/desktop_checks.sh). Rectangles are written WxH+X+Y in virtual-desktop pixels,
// offsets signed ("1280x800-1280+0" lies left of the origin).
//   desktop_probe                  one line per monitor in the system's order,
//                                  "monitor NAME WxH+X+Y [primary]", then "virtual WxH+X+Y"
//   desktop_probe move X Y ...     for each pixel, absolute input across the virtual desktop
//                                  aimed at it, then "X Y -> CX CY" with the cursor's position
// Exit code 0, or 1 when the system refuses, 2 on a usage error.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

std::string Geometry(long width, long height, long x, long y) {
  char text[64];
  std::snprintf(text, sizeof text, "%ldx%ld%+ld%+ld", width, height, x, y);
  return text;
}

BOOL CALLBACK PrintMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM) {
  MONITORINFOEXW info{};
  info.cbSize = sizeof info;
  if (!::GetMonitorInfoW(monitor, &info)) return TRUE;
  const RECT& r = info.rcMonitor;
  std::printf("monitor %ls %s%s\n", info.szDevice,
              Geometry(r.right - r.left, r.bottom - r.top, r.left, r.top).c_str(),
              (info.dwFlags & MONITORINFOF_PRIMARY) ? " primary" : "");
  return TRUE;
}

struct VirtualDesktop {
  long left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
  long top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
  long width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
  long height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
};

int List() {
  if (!::EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0)) return 1;
  const VirtualDesktop desk;
  std::printf("virtual %s\n", Geometry(desk.width, desk.height, desk.left, desk.top).c_str());
  return 0;
}

// The absolute coordinate that the system maps back onto this pixel of an axis starting at
// origin, size pixels long: ceil((pixel - origin) * 65536 / size).
LONG ToAbsolute(long pixel, long origin, long size) {
  const long long offset = static_cast<long long>(pixel - origin) * 65536;
  return static_cast<LONG>((offset + size - 1) / size);
}

// The cursor's position once it has settled on the pixel, or where it is after a second.
POINT CursorAfterMove(POINT target) {
  POINT at{};
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  while (::GetCursorPos(&at) && (at.x != target.x || at.y != target.y) &&
         std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return at;
}

int Move(int count, wchar_t** pixels) {
  const VirtualDesktop desk;
  if (desk.width <= 0 || desk.height <= 0) return 1;
  for (int i = 0; i + 1 < count; i += 2) {
    const POINT target{std::wcstol(pixels[i], nullptr, 10), std::wcstol(pixels[i + 1], nullptr, 10)};
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = ToAbsolute(target.x, desk.left, desk.width);
    input.mi.dy = ToAbsolute(target.y, desk.top, desk.height);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    if (::SendInput(1, &input, sizeof input) != 1) return 1;
    const POINT at = CursorAfterMove(target);
    std::printf("%ld %ld -> %ld %ld\n", target.x, target.y, at.x, at.y);
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  ::SetProcessDPIAware();
  if (argc == 1) return List();
  if (std::wstring(argv[1]) == L"move" && argc % 2 == 0) return Move(argc - 2, argv + 2);
  std::fprintf(stderr, "usage: desktop_probe [move X Y ...]\n");
  return 2;
}
