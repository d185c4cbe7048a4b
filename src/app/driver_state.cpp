#include "app/driver_state.h"

#include <algorithm>
#include <cctype>

namespace raz {

ScreenPlace ScreenState::Place() const {
  ScreenPlace place(Size());
  if (OnOtherMonitor) {
    place.Origin = {Monitor.Left, Monitor.Top};
    place.Desktop = Desktop;
    place.AcrossDesktop = true;
  }
  return place;
}

const MonitorInfo* FindMonitor(const std::vector<MonitorInfo>& monitors, std::string_view name) {
  const auto same = [name](const MonitorInfo& m) {
    return std::equal(m.Name.begin(), m.Name.end(), name.begin(), name.end(), [](char a, char b) {
      return std::tolower(static_cast<unsigned char>(a)) ==
             std::tolower(static_cast<unsigned char>(b));
    });
  };
  if (name.empty()) return nullptr;
  const auto it = std::find_if(monitors.begin(), monitors.end(), same);
  return it == monitors.end() ? nullptr : &*it;
}

ScreenRect DesktopBounds(const std::vector<MonitorInfo>& monitors) {
  if (monitors.empty()) return {};
  std::int64_t left = monitors[0].Bounds.Left, top = monitors[0].Bounds.Top;
  std::int64_t right = left, bottom = top;
  for (const MonitorInfo& m : monitors) {
    left = std::min<std::int64_t>(left, m.Bounds.Left);
    top = std::min<std::int64_t>(top, m.Bounds.Top);
    right = std::max<std::int64_t>(right, std::int64_t{m.Bounds.Left} + m.Bounds.Width);
    bottom = std::max<std::int64_t>(bottom, std::int64_t{m.Bounds.Top} + m.Bounds.Height);
  }
  return {static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
          static_cast<std::int32_t>(right - left), static_cast<std::int32_t>(bottom - top)};
}

void RefreshScreen(ScreenState& screen, Display& display) {
  screen.Monitors = display.Monitors();
  const MonitorInfo* chosen = FindMonitor(screen.Monitors, screen.BoardMonitor);
  if (chosen != nullptr && !chosen->Primary) {
    // A monitor that reads 0 on an axis (switching modes) is not a monitor of no size.
    const ScreenRect& r = chosen->Bounds;
    if (r.Width <= 0 || r.Height <= 0) return;
    screen.ScreenWidth = r.Width;
    screen.ScreenHeight = r.Height;
    screen.Monitor = r;
    screen.Desktop = DesktopBounds(screen.Monitors);
    screen.OnOtherMonitor = true;
    return;
  }
  const int width = display.HorizontalResolution();
  const int height = display.VerticalResolution();
  // A display that reads 0 on an axis (switching modes, a remote session) is not a screen of no
  // size: everything keeps the size it had.
  if (width == 0 || height == 0) return;
  screen.ScreenWidth = width;
  screen.ScreenHeight = height;
  screen.Monitor = {0, 0, width, height};
  screen.Desktop = DesktopBounds(screen.Monitors);
  screen.OnOtherMonitor = false;
}

}  // namespace raz
