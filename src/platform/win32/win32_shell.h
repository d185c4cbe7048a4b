#pragma once
#include "platform/shell.h"
#include "platform/win32/tray_icons.h"
#include "platform/win32/win32_api.h"

namespace raz::win32 {

// Notification area, cursor, foreground, the Start-menu folders and shell links. The tray icon
// belongs to the main window, which exists only after this object: the host attaches it when
// created.
class Win32Shell : public Shell {
 public:
  void AttachWindow(HWND mainWindow) { window_ = mainWindow; }

  bool NotifyIcon(TrayOperation operation, const TrayIconRecord& record) override;
  std::optional<ScreenPoint> CursorPosition() override;
  void SetForeground() override;
  std::optional<std::string> ProgramsFolder() override;
  std::optional<std::string> StartupFolder() override;
  bool CreateShortcut(const Shortcut& shortcut) override;

 private:
  HWND window_ = nullptr;
  TrayIcons icons_;
};

}  // namespace raz::win32
