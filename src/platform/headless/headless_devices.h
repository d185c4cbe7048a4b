#pragma once
// Headless stand-ins for the clock, the display, the mouse, window messages and the shell:
// settable values in, recorded calls out.
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/display.h"
#include "platform/headless/headless_files.h"
#include "platform/messenger.h"
#include "platform/mouse_output.h"
#include "platform/shell.h"
#include "platform/vendor_usb.h"

namespace raz {

// Time that moves only when it is told to: one second of driver time runs in microseconds.
class VirtualClock : public Clock {
 public:
  std::uint64_t NowMicros() const override { return now_; }
  void Set(std::uint64_t micros) { now_ = micros; }

 private:
  std::uint64_t now_ = 0;
};

// One primary monitor of a settable size, or a desktop of several monitors. A monitor
// switched off is not listed; with the primary off, the primary's resolution reads 0.
class HeadlessDisplay : public Display {
 public:
  HeadlessDisplay(int width, int height) { Set(width, height); }
  // The one primary monitor's size, as a display change sets it.
  void Set(int width, int height) {
    SetMonitors({{"\\\\.\\DISPLAY1", {0, 0, width, height}, true}});
  }
  void SetMonitors(std::vector<MonitorInfo> monitors) {
    monitors_ = std::move(monitors);
    on_.assign(monitors_.size(), true);
  }
  // Monitor n (0-based, in the order given) switched off or on; any other n is ignored.
  void SwitchMonitor(std::size_t n, bool on) {
    if (n < on_.size()) on_[n] = on;
  }
  void ResizeMonitor(std::size_t n, ScreenSize size) {
    if (n >= monitors_.size()) return;
    monitors_[n].Bounds.Width = size.Width;
    monitors_[n].Bounds.Height = size.Height;
  }
  int HorizontalResolution() override { return Primary().Width; }
  int VerticalResolution() override { return Primary().Height; }
  std::vector<MonitorInfo> Monitors() override {
    std::vector<MonitorInfo> listed;
    for (std::size_t n = 0; n < monitors_.size(); ++n) {
      if (on_[n]) listed.push_back(monitors_[n]);
    }
    return listed;
  }

 private:
  ScreenRect Primary() const {
    for (std::size_t n = 0; n < monitors_.size(); ++n) {
      if (on_[n] && monitors_[n].Primary) return monitors_[n].Bounds;
    }
    return {};
  }
  std::vector<MonitorInfo> monitors_;
  std::vector<bool> on_;
};

struct MouseEventRecord {
  std::uint32_t flags;
  std::int32_t dx;
  std::int32_t dy;
  bool operator==(const MouseEventRecord&) const = default;
};

class HeadlessMouseOutput : public MouseOutput {
 public:
  void Emit(std::uint32_t flags, std::int32_t dx, std::int32_t dy) override {
    events.push_back({flags, dx, dy});
  }
  std::vector<MouseEventRecord> events;
};

struct PostedMessage {
  WindowHandle window;
  std::uint32_t message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
  bool operator==(const PostedMessage&) const = default;
};

class HeadlessMessenger : public Messenger {
 public:
  bool Post(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
            std::intptr_t lParam) override {
    posted.push_back({window, message, wParam, lParam});
    return window != 0;
  }
  WindowHandle FindWindow(const std::string& className, const std::string& caption) override {
    const auto it = windows.find({className, caption});
    return it == windows.end() ? 0 : it->second;
  }
  // A made-up handle is another program's top-level window unless a test says otherwise.
  WindowKind KindOf(WindowHandle window) override {
    const auto it = kinds.find(window);
    if (it != kinds.end()) return it->second;
    return window == 0 ? WindowKind::NotAWindow : WindowKind::OtherProgramsTopLevel;
  }
  std::vector<PostedMessage> posted;
  std::map<std::pair<std::string, std::string>, WindowHandle> windows;  // (class, caption)
  std::map<WindowHandle, WindowKind> kinds;
};

// The shell: tray calls recorded (an add fails while the icon is there, as the system's does),
// special folders settable, shortcuts written as real small text files so that a test can
// see them appear and go.
class HeadlessShell : public Shell {
 public:
  bool NotifyIcon(TrayOperation operation, const TrayIconRecord& record) override {
    trayCalls.emplace_back(operation, record);
    if (!trayAvailable) return false;
    const bool wasShown = iconShown;
    iconShown = operation != TrayOperation::Delete && (wasShown || operation == TrayOperation::Add);
    return operation == TrayOperation::Add ? !wasShown : wasShown;
  }
  std::optional<ScreenPoint> CursorPosition() override { return cursor; }
  void SetForeground() override { ++foregroundCalls; }
  std::optional<std::string> ProgramsFolder() override { return programsFolder; }
  std::optional<std::string> StartupFolder() override { return startupFolder; }
  bool CreateShortcut(const Shortcut& shortcut) override {
    shortcuts.push_back(shortcut);
    std::ofstream out(HeadlessFiles::HostPath(shortcut.LinkPath),
                      std::ios::binary | std::ios::trunc);
    out << ShortcutText(shortcut);
    return static_cast<bool>(out.flush());
  }
  // What a headless shortcut file holds.
  static std::string ShortcutText(const Shortcut& shortcut) {
    return "target=" + shortcut.Target + "\nworkdir=" + shortcut.WorkingFolder + "\n";
  }
  // The taskbar goes away (false) or is made anew (true): the icon is gone either way.
  void SetTrayAvailable(bool available) {
    trayAvailable = available;
    iconShown = false;
  }

  std::vector<std::pair<TrayOperation, TrayIconRecord>> trayCalls;
  bool trayAvailable = true;
  bool iconShown = false;
  std::optional<ScreenPoint> cursor = ScreenPoint{0, 0};
  int foregroundCalls = 0;
  std::optional<std::string> programsFolder;
  std::optional<std::string> startupFolder;
  std::vector<Shortcut> shortcuts;
};

// A vendor library with no board attached: every call fails.
class AbsentBoardUsb : public VendorUsb {
 public:
  std::int32_t ProbeDevices(std::uint32_t& deviceCount) override {
    deviceCount = 0;
    return 1;
  }
  std::int32_t OpenDevice(std::uint32_t, UsbHandle&) override { return 1; }
  std::int32_t CloseDevice(UsbHandle) override { return 1; }
  std::int32_t SetLinkRate(UsbHandle, std::uint32_t) override { return 1; }
  std::int32_t QueueStatus(UsbHandle, std::uint32_t& bytesInQueue, std::uint32_t&) override {
    bytesInQueue = 0;
    return 1;
  }
  std::int32_t Read(UsbHandle, std::uint8_t*, std::uint32_t, std::uint32_t& bytesRead) override {
    bytesRead = 0;
    return 1;
  }
};

}  // namespace raz
