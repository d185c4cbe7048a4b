#pragma once
// Headless stand-ins for the clock, the display, the mouse, window messages and the shell:
// settable values in, recorded calls out.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/display.h"
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

class HeadlessDisplay : public Display {
 public:
  HeadlessDisplay(int width, int height) : width_(width), height_(height) {}
  void Set(int width, int height) {
    width_ = width;
    height_ = height;
  }
  int HorizontalResolution() override { return width_; }
  int VerticalResolution() override { return height_; }

 private:
  int width_;
  int height_;
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
  std::vector<PostedMessage> posted;
  std::map<std::pair<std::string, std::string>, WindowHandle> windows;  // (class, caption)
};

class HeadlessShell : public Shell {
 public:
  bool NotifyIcon(TrayOperation operation, const TrayIconRecord& record) override {
    trayCalls.emplace_back(operation, record);
    return true;
  }
  std::optional<ScreenPoint> CursorPosition() override { return cursor; }
  void SetForeground() override { ++foregroundCalls; }
  std::optional<std::string> ProgramsFolder() override { return programsFolder; }

  std::vector<std::pair<TrayOperation, TrayIconRecord>> trayCalls;
  std::optional<ScreenPoint> cursor = ScreenPoint{0, 0};
  int foregroundCalls = 0;
  std::optional<std::string> programsFolder;
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
