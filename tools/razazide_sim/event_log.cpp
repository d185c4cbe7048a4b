#include "event_log.h"

#include <cstdio>

#include "app/driver_state.h"
#include "vkeys/key_actions.h"

namespace raz::simcli {
namespace {

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
      out += buffer;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string Hex(std::uint64_t value) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "\"0x%llX\"", static_cast<unsigned long long>(value));
  return buffer;
}

std::string BaseName(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string MouseFlagNames(std::uint32_t flags) {
  static constexpr struct {
    std::uint32_t flag;
    const char* name;
  } kNames[] = {{MouseFlags::Move, "MOVE"},         {MouseFlags::LeftDown, "LEFTDOWN"},
                {MouseFlags::LeftUp, "LEFTUP"},     {MouseFlags::RightDown, "RIGHTDOWN"},
                {MouseFlags::RightUp, "RIGHTUP"},   {MouseFlags::Absolute, "ABSOLUTE"},
                {MouseFlags::VirtualDesk, "VIRTUALDESK"}};
  std::string names;
  for (const auto& n : kNames) {
    if ((flags & n.flag) == 0) continue;
    if (!names.empty()) names += '|';
    names += n.name;
  }
  return names;
}

std::string EventLog::Stamp(const char* event) const {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "{\"t_ms\":%.3f,\"event\":\"%s\"",
                static_cast<double>(clock_.NowMicros()) / 1000.0, event);
  return buffer;
}

void EventLog::Mouse(std::uint32_t flags, std::int32_t dx, std::int32_t dy) {
  // The pixel of the virtual desktop the system puts the cursor on for these absolute
  // coordinates: across the primary monitor, or across every monitor.
  ScreenRect span{0, 0, display_->HorizontalResolution(), display_->VerticalResolution()};
  if (flags & MouseFlags::VirtualDesk) span = DesktopBounds(display_->Monitors());
  const auto x = span.Left + static_cast<std::int32_t>((std::int64_t{dx} * span.Width) >> 16);
  const auto y = span.Top + static_cast<std::int32_t>((std::int64_t{dy} * span.Height) >> 16);
  mouse_.push_back({static_cast<double>(clock_.NowMicros()) / 1000.0, flags, dx, dy, x, y});
  out_ << Stamp("mouse") << ",\"flags\":" << Hex(flags) << ",\"names\":\""
       << MouseFlagNames(flags) << "\",\"dx\":" << dx << ",\"dy\":" << dy << ",\"x\":" << x
       << ",\"y\":" << y << "}\n";
}

void EventLog::Post(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                    std::intptr_t lParam) {
  out_ << Stamp("post") << ",\"window\":" << window << ",\"message\":" << Hex(message)
       << ",\"wParam\":" << wParam << ",\"lParam\":" << lParam << "}\n";
}

void EventLog::FileWrite(const std::string& name, std::size_t bytes, bool ok) {
  out_ << Stamp("file") << ",\"name\":" << Quoted(BaseName(name)) << ",\"bytes\":" << bytes
       << ",\"ok\":" << (ok ? "true" : "false") << "}\n";
}

void EventLog::SettingWrite(const std::string& section, const std::string& key,
                            const std::string& value, bool ok) {
  out_ << Stamp("setting") << ",\"section\":" << Quoted(section) << ",\"key\":" << Quoted(key)
       << ",\"value\":" << Quoted(value) << ",\"ok\":" << (ok ? "true" : "false") << "}\n";
}

void EventLog::Menu(const std::string& item) {
  out_ << Stamp("menu") << ",\"item\":" << Quoted(item) << "}\n";
}

void EventLog::ClientRequest(std::intptr_t wParam, std::intptr_t lParam, std::intptr_t result) {
  out_ << Stamp("client") << ",\"message\":" << Hex(kClientRequestMessage) << ",\"wParam\":" << wParam
       << ",\"lParam\":" << lParam << ",\"result\":" << result << "}\n";
}

void EventLog::Calibration(const CalibrationRecord& c) {
  // Nine significant digits give every float back exactly.
  const auto number = [](float v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.9g", static_cast<double>(v));
    return std::string(buffer);
  };
  out_ << Stamp("calibration") << ",\"points\":[";
  for (std::size_t k = 0; k < c.CalibrationPoints.size(); ++k) {
    out_ << (k ? "," : "") << '[' << number(c.CalibrationPoints[k].x) << ','
         << number(c.CalibrationPoints[k].y) << ']';
  }
  out_ << "],\"scaleX\":" << number(c.CalibrationScaleX) << ",\"scaleY\":"
       << number(c.CalibrationScaleY) << ",\"offsetX\":" << c.ScreenOffsetX
       << ",\"offsetY\":" << c.ScreenOffsetY << "}\n";
}

void EventLog::Link(const std::string& text) {
  out_ << Stamp("link") << ",\"state\":" << Quoted(text) << "}\n";
}

bool LoggingMessenger::Post(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam) {
  log_.Post(window, message, wParam, lParam);
  return inner_.Post(window, message, wParam, lParam);
}

bool LoggingFiles::WriteFromStart(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  const bool ok = inner_.WriteFromStart(path, bytes);
  log_.FileWrite(path, bytes.size(), ok);
  return ok;
}

bool LoggingProfile::WriteString(const std::string& path, const std::string& section,
                                 const std::string& key, const std::string& value) {
  const bool ok = inner_.WriteString(path, section, key, value);
  log_.SettingWrite(section, key, value, ok);
  return ok;
}

}  // namespace raz::simcli
