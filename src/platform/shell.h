#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "base/points.h"
#include "platform/messenger.h"

namespace raz {

enum class TrayOperation : std::uint32_t { Add = 0, Modify = 1, Delete = 2 };
enum class TrayIconImage { None, BoardWithPen, BoardGrey };

// What one tray-icon operation passes to the system.
struct TrayIconRecord {
  std::uint32_t id = 0;
  std::uint32_t flags = 0;
  std::uint32_t callbackMessage = 0;
  TrayIconImage icon = TrayIconImage::None;
  std::string tip;  // UTF-8, at most 63 characters
};

// A shell link as the autostart needs it.
struct Shortcut {
  std::string LinkPath;       // the .lnk file to write
  std::string Target;         // the program it starts
  std::string WorkingFolder;  // the folder it starts the program in
  bool operator==(const Shortcut&) const = default;
};

// The desktop shell: notification area, cursor, foreground, special folders, shortcuts.
class Shell {
 public:
  virtual ~Shell() = default;
  virtual bool NotifyIcon(TrayOperation operation, const TrayIconRecord& record) = 0;
  virtual std::optional<ScreenPoint> CursorPosition() = 0;
  virtual void SetForeground() = 0;
  // The current user's Start-menu Programs folder, without a trailing separator.
  virtual std::optional<std::string> ProgramsFolder() = 0;
  // The current user's Startup folder, by the path the shell gives it whatever the system's
  // language, without a trailing separator.
  virtual std::optional<std::string> StartupFolder() = 0;
  // Writes the shell link, replacing one that is there. False when it could not be saved.
  virtual bool CreateShortcut(const Shortcut& shortcut) = 0;
};

}  // namespace raz
