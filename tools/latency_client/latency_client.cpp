// Windows console program for bench/latency.sh: stamps every mouse event the system delivers,
// from a low-level mouse hook, on the performance counter that the stand-in SIUSBXP.DLL stamps
// its reports on. Usage: latency_client SECONDS LOG_FILE
// One line per event: "MICROSECONDS KIND X Y", KIND being move, down, up, rdown or rup.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/win32/win32_clock.h"

namespace {

raz::win32::Win32Clock theClock;
std::string theLog;

const char* KindOf(WPARAM message) {
  switch (message) {
    case WM_MOUSEMOVE:
      return "move";
    case WM_LBUTTONDOWN:
      return "down";
    case WM_LBUTTONUP:
      return "up";
    case WM_RBUTTONDOWN:
      return "rdown";
    case WM_RBUTTONUP:
      return "rup";
    default:
      return nullptr;
  }
}

LRESULT CALLBACK OnMouse(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION) {
    // Stamped first: the time the event reached the system's input queue, near enough.
    const std::uint64_t now = theClock.SystemMicros(theClock.NowMicros());
    const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
    if (const char* kind = KindOf(message)) {
      theLog += std::to_string(now) + " " + kind + " " + std::to_string(event->pt.x) + " " +
                std::to_string(event->pt.y) + "\n";
    }
  }
  return ::CallNextHookEx(nullptr, code, message, data);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: latency_client SECONDS LOG_FILE\n");
    return 2;
  }
  const DWORD seconds = static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10));
  const HHOOK hook = ::SetWindowsHookExW(WH_MOUSE_LL, OnMouse, ::GetModuleHandleW(nullptr), 0);
  if (hook == nullptr) {
    std::fprintf(stderr, "no low-level mouse hook (error %lu)\n", ::GetLastError());
    return 1;
  }
  // The hook runs on this thread's message loop: it must keep pumping.
  const UINT_PTR timer = ::SetTimer(nullptr, 0, seconds * 1000, nullptr);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && msg.wParam == timer) break;
    ::DispatchMessageW(&msg);
  }
  ::UnhookWindowsHookEx(hook);
  FILE* out = std::fopen(argv[2], "wb");
  if (out == nullptr) return 1;
  std::fwrite(theLog.data(), 1, theLog.size(), out);
  std::fclose(out);
  std::printf("%zu events\n",
              static_cast<std::size_t>(std::count(theLog.begin(), theLog.end(), '\n')));
  return 0;
}
