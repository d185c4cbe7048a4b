// Display, mouse, messages, shell and text conversion against the running system.
#include "check_harness.h"
#include "platform/win32/unique_handles.h"
#include "platform/win32/utf.h"
#include "platform/win32/win32_devices.h"
#include "platform/win32/win32_shell.h"

namespace raz::win32::checks {
namespace {

constexpr wchar_t kClass[] = L"RA_Zazide check window";

UniqueWindow MakeWindow(const wchar_t* caption) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = kClass;
  ::RegisterClassW(&wc);
  return UniqueWindow(::CreateWindowExW(0, kClass, caption, WS_POPUP, 0, 0, 10, 10, nullptr,
                                        nullptr, wc.hInstance, nullptr));
}

std::string RunUtfRoundTrip() {
  for (const std::string text : {"", "Rored_Evezed", "语言（language）", "退出 EXIT"}) {
    if (Narrow(Widen(text)) != text) return "round trip changed '" + text + "'";
  }
  return Expect(Widen("启动").size(), std::size_t{2}, "UTF-16 length of two CJK characters");
}

std::string RunFindAndPost() {
  const UniqueWindow window = MakeWindow(L"检查 window");
  Win32Messenger messenger;
  const WindowHandle found = messenger.FindWindow("RA_Zazide check window", "检查 window");
  if (found != reinterpret_cast<WindowHandle>(window.Get())) return "FindWindow missed the window";
  if (messenger.FindWindow("", "") != 0) return "empty names matched a window";
  if (!messenger.Post(found, WM_APP + 5, 11, -3)) return "Post failed";
  MSG msg;
  if (!::PeekMessageW(&msg, window.Get(), WM_APP + 5, WM_APP + 5, PM_REMOVE)) return "not queued";
  return msg.wParam == 11 && msg.lParam == -3 ? std::string() : "parameters changed on the way";
}

std::string RunDisplay(int width, int height) {
  Win32Display display;
  return Expect(display.HorizontalResolution(), width, "HORZRES") +
         Expect(display.VerticalResolution(), height, "VERTRES");
}

// Absolute coordinates land on pixel (dx * W) >> 16.
std::string RunMouseLandsOnPixel(int width, int height) {
  Win32MouseOutput mouse;
  struct Row {
    std::int32_t dx, dy;
  };
  for (const Row row : {Row{32768, 32768}, Row{0, 0}, Row{65535, 16384}}) {
    mouse.Emit(0x0001 | 0x8000, row.dx, row.dy);
    ::Sleep(50);
    POINT p{};
    ::GetCursorPos(&p);
    const int x = static_cast<int>((static_cast<std::int64_t>(row.dx) * width) >> 16);
    const int y = static_cast<int>((static_cast<std::int64_t>(row.dy) * height) >> 16);
    if (p.x != x || p.y != y) {
      return "dx=" + std::to_string(row.dx) + " dy=" + std::to_string(row.dy) + " landed on " +
             std::to_string(p.x) + "," + std::to_string(p.y) + ", expected " +
             std::to_string(x) + "," + std::to_string(y);
    }
  }
  return {};
}

std::string RunProgramsFolder() {
  const auto folder = Win32Shell().ProgramsFolder();
  if (!folder || folder->empty()) return "no folder";
  if (folder->back() == '\\') return "trailing separator: " + *folder;
  const DWORD attributes = ::GetFileAttributesW(Widen(*folder).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)
             ? std::string()
             : "not a folder: " + *folder;
}

std::string RunTrayIconLifecycle() {
  const UniqueWindow window = MakeWindow(L"tray owner");
  Win32Shell shell;
  shell.AttachWindow(window.Get());
  TrayIconRecord record{1006, 7, 0x8064, TrayIconImage::None, ""};
  if (!shell.NotifyIcon(TrayOperation::Add, record)) return "add failed";
  record.icon = TrayIconImage::BoardGrey;
  record.tip = "Rored_Evezed";
  if (!shell.NotifyIcon(TrayOperation::Modify, record)) return "modify failed";
  return shell.NotifyIcon(TrayOperation::Delete, record) ? std::string() : "delete failed";
}

}  // namespace

std::vector<Case> DeviceCases(int width, int height) {
  return {
      {"Utf_RoundTripsChineseCaptions", RunUtfRoundTrip},
      {"Messenger_FindsByClassAndCaptionAndPostsUnchanged", RunFindAndPost},
      {"Display_ReportsTheScreenInRealPixels", [=] { return RunDisplay(width, height); }},
      {"MouseOutput_AbsoluteCoordinatesLandOnTheExpectedPixel",
       [=] { return RunMouseLandsOnPixel(width, height); }},
      {"Shell_ProgramsFolder_ExistsWithoutTrailingSeparator", RunProgramsFolder},
      {"Shell_TrayIcon_AddModifyDelete", RunTrayIconLifecycle},
  };
}

}  // namespace raz::win32::checks
