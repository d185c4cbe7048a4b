// Display, mouse and the precise timer against the running system.
#include "check_harness.h"
#include "platform/win32/precise_timer.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_devices.h"

namespace raz::win32::checks {
namespace {

std::string Pair(std::int64_t x, std::int64_t y) {
  return std::to_string(x) + "," + std::to_string(y);
}

std::string RunDisplay(int width, int height) {
  Win32Display display;
  return Expect(Pair(display.HorizontalResolution(), display.VerticalResolution()),
                Pair(width, height), "HORZRES,VERTRES");
}

// Absolute coordinates land on pixel (dx * W) >> 16.
std::string RunMouseLandsOnPixel(int width, int height) {
  const std::int64_t rows[][2] = {{32768, 32768}, {0, 0}, {65535, 16384}};
  std::string problems;
  for (const auto& [dx, dy] : rows) {
    Win32MouseOutput().Emit(0x0001 | 0x8000, static_cast<std::int32_t>(dx),
                            static_cast<std::int32_t>(dy));  // move, absolute
    ::Sleep(50);
    POINT p{};
    ::GetCursorPos(&p);
    problems += Expect(Pair(p.x, p.y), Pair(dx * width >> 16, dy * height >> 16), Pair(dx, dy));
  }
  return problems;
}

// A tick already due at Stop must not fire later, and a restart takes its interval at once.
std::string RunTimerStopAndRestart() {
  PreciseTimer timer;
  timer.Start(1);
  ::Sleep(10);  // several ticks fall due; one stays signalled
  timer.Stop();
  if (::WaitForSingleObject(timer.Handle(), 30) != WAIT_TIMEOUT) return "ticked after Stop";
  timer.Start(50);
  timer.Start(2);
  const bool ticked = ::WaitForSingleObject(timer.Handle(), 40) == WAIT_OBJECT_0;
  timer.Stop();
  return ticked ? "" : "no tick within 40 ms after a restart from 50 ms to 2 ms";
}

// The client protocol takes only another program's top-level window; here every window that
// is one is this program's own. (Another program's windows: tests/wine/hostile_checks.sh.)
std::string RunMessengerKnowsWhoseWindow() {
  const HWND top = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                     nullptr, nullptr);
  const HWND child =
      ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 1, 1, top, nullptr, nullptr, nullptr);
  const HWND gone = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                      nullptr, nullptr);
  ::DestroyWindow(gone);
  const auto handle = [](HWND w) { return reinterpret_cast<WindowHandle>(w); };
  const struct {
    const char* what;
    WindowHandle window;
    WindowKind kind;
  } rows[] = {
      {"own top-level", handle(top), WindowKind::OwnWindow},
      {"own child", handle(child), WindowKind::OwnWindow},
      {"destroyed", handle(gone), WindowKind::NotAWindow},
      {"HWND_BROADCAST", kBroadcastWindow, WindowKind::NotAWindow},
      {"null", 0, WindowKind::NotAWindow},
  };
  Win32Messenger messenger;
  std::string problems;
  for (const auto& row : rows) {
    problems += Expect(std::to_string(static_cast<int>(messenger.KindOf(row.window))),
                       std::to_string(static_cast<int>(row.kind)), row.what);
  }
  ::DestroyWindow(top);
  return problems;
}

}  // namespace

std::vector<Case> DeviceCases(int width, int height) {
  return {
      {"Display_ReportsTheScreenInRealPixels", [=] { return RunDisplay(width, height); }},
      {"MouseOutput_AbsoluteCoordinatesLandOnTheExpectedPixel",
       [=] { return RunMouseLandsOnPixel(width, height); }},
      {"PreciseTimer_StopDropsADueTickAndRestartTakesTheNewInterval", RunTimerStopAndRestart},
      {"Messenger_KindOfTellsOwnWindowsAndNonWindows", RunMessengerKnowsWhoseWindow},
  };
}

}  // namespace raz::win32::checks
