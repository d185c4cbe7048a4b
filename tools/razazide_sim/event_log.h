#pragma once
// The simulator's output: one JSON object per line for every mouse event the driver injects,
// every message it posts and every file it writes, stamped with the virtual time.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/display.h"
#include "platform/files.h"
#include "platform/messenger.h"
#include "platform/mouse_output.h"
#include "platform/profile.h"
#include "storage/data_files.h"

namespace raz::simcli {

// A mouse event as logged, with the pixel the system maps it back to.
struct LoggedMouseEvent {
  double timeMs;
  std::uint32_t flags;
  std::int32_t dx, dy;
  std::int32_t x, y;
};

class EventLog {
 public:
  EventLog(std::ostream& out, const Clock& clock) : out_(out), clock_(clock) {}

  // The displays the events' coordinates are mapped back onto.
  void SetDisplay(Display& display) { display_ = &display; }
  void Mouse(std::uint32_t flags, std::int32_t dx, std::int32_t dy);
  void Post(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
  void FileWrite(const std::string& name, std::size_t bytes, bool ok);
  void SettingWrite(const std::string& section, const std::string& key, const std::string& value,
                    bool ok);
  void Link(const std::string& text);
  // A command given to the main window by a scenario's menu step.
  void Menu(const std::string& item);
  // A client's request and the driver's answer.
  void ClientRequest(std::intptr_t wParam, std::intptr_t lParam, std::intptr_t result);
  // A calibration the driver put in force: the nine points, scales and offsets.
  void Calibration(const CalibrationRecord& record);

  const std::vector<LoggedMouseEvent>& mouseEvents() const { return mouse_; }

 private:
  std::string Stamp(const char* event) const;

  std::ostream& out_;
  const Clock& clock_;
  Display* display_ = nullptr;
  std::vector<LoggedMouseEvent> mouse_;
};

// Names of the set flags, "MOVE|LEFTDOWN".
std::string MouseFlagNames(std::uint32_t flags);

class LoggingMouseOutput : public MouseOutput {
 public:
  explicit LoggingMouseOutput(EventLog& log) : log_(log) {}
  void Emit(std::uint32_t flags, std::int32_t dx, std::int32_t dy) override { log_.Mouse(flags, dx, dy); }

 private:
  EventLog& log_;
};

class LoggingMessenger : public Messenger {
 public:
  LoggingMessenger(Messenger& inner, EventLog& log) : inner_(inner), log_(log) {}
  bool Post(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
            std::intptr_t lParam) override;
  WindowHandle FindWindow(const std::string& className, const std::string& caption) override {
    return inner_.FindWindow(className, caption);
  }
  WindowKind KindOf(WindowHandle window) override { return inner_.KindOf(window); }

 private:
  Messenger& inner_;
  EventLog& log_;
};

class LoggingFiles : public Files {
 public:
  LoggingFiles(Files& inner, EventLog& log) : inner_(inner), log_(log) {}
  std::string ProgramFolder() const override { return inner_.ProgramFolder(); }
  std::string ProgramPath() const override { return inner_.ProgramPath(); }
  std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path,
                                                    std::size_t maxBytes) override {
    return inner_.ReadFile(path, maxBytes);
  }
  bool WriteFromStart(const std::string& path, const std::vector<std::uint8_t>& bytes) override;
  bool DeleteFile(const std::string& path) override { return inner_.DeleteFile(path); }
  bool SetArchiveAttribute(const std::string& path) override {
    return inner_.SetArchiveAttribute(path);
  }

 private:
  Files& inner_;
  EventLog& log_;
};

class LoggingProfile : public Profile {
 public:
  LoggingProfile(Profile& inner, EventLog& log) : inner_(inner), log_(log) {}
  std::string ReadString(const std::string& path, const std::string& section,
                         const std::string& key, const std::string& fallback) override {
    return inner_.ReadString(path, section, key, fallback);
  }
  bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& value) override;

 private:
  Profile& inner_;
  EventLog& log_;
};

}  // namespace raz::simcli
