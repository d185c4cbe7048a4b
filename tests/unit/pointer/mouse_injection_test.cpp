#include "pointer/mouse_injection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "platform/headless/headless_devices.h"

namespace raz {
namespace {

namespace F = MouseFlags;

TEST(MouseInjection, ToAbsolute_LandsOnExactlyThePixelTheSystemMapsBackAndClampsTheRest) {
  for (std::int32_t size : {640, 768, 800, 1024, 1080, 1366, 1920, 2160, 3840}) {
    for (std::int32_t pixel = 0; pixel < size; ++pixel) {
      ASSERT_EQ((std::int64_t{ToAbsolute(pixel, size)} * size) >> 16, pixel)
          << "pixel " << pixel << " of " << size;
    }
  }
  // Off the screen, and a screen of unknown size: {pixel, size, absolute}.
  const std::int32_t offScreen[][3] = {{-5, 1024, 0}, {1024, 1024, 65535}, {5000, 1024, 65535},
                                       {100, 0, 0},   {100, -1, 0},        {1023, 1024, 65472}};
  for (const auto& [pixel, size, absolute] : offScreen) {
    EXPECT_EQ(ToAbsolute(pixel, size), absolute) << pixel << " of " << size;
  }
}

// The board on a monitor other than the primary: coordinates span the virtual desktop, which the
// system maps back as Desktop.Left + (c * Desktop.Width) >> 16. Every pixel of the board's
// monitor must come back exactly, and one off its edge must stay on it, not reach a neighbour.
// The program is per-monitor DPI aware: a 150 % laptop panel is its physical 2880 x 1800.
TEST(MouseInjection, AcrossTheDesktopEveryPixelOfTheBoardsMonitorComesBackExactly) {
  struct Arrangement {
    const char* name;
    ScreenRect monitor;
    ScreenRect desktop;
  };
  const Arrangement kArrangements[] = {
      {"right of a 150 % laptop", {2880, 0, 1024, 768}, {0, 0, 3904, 1800}},
      {"laptop left of it", {-1920, 0, 1920, 1080}, {-1920, 0, 3200, 1080}},
      {"above, narrower", {128, -768, 1024, 768}, {0, -768, 1280, 1568}},
      {"third of three", {3200, -200, 1280, 1024}, {-1366, -200, 5846, 1280}},
  };
  HeadlessMouseOutput mouse;
  InjectorState state;
  for (const Arrangement& a : kArrangements) {
    ScreenPlace place(a.monitor.Size());
    place.Origin = {a.monitor.Left, a.monitor.Top};
    place.Desktop = a.desktop;
    place.AcrossDesktop = true;
    const auto back = [&](std::int32_t c, std::int32_t start, std::int32_t span) {
      return start + static_cast<std::int32_t>((std::int64_t{c} * span) >> 16);
    };
    for (std::int32_t p = -3; p < std::max(a.monitor.Width, a.monitor.Height) + 3; ++p) {
      mouse.events.clear();
      Inject({PointerAction::HoverMove, {p, p}}, {ReportVerdict::DrivesPen, false, place}, mouse,
             state);
      ASSERT_EQ(mouse.events.size(), 1u);
      const MouseEventRecord& e = mouse.events[0];
      ASSERT_EQ(e.flags, F::Move | F::Absolute | F::VirtualDesk);
      const ScreenPoint expected{a.monitor.Left + std::clamp(p, 0, a.monitor.Width - 1),
                                 a.monitor.Top + std::clamp(p, 0, a.monitor.Height - 1)};
      ASSERT_EQ(back(e.dx, a.desktop.Left, a.desktop.Width), expected.x) << a.name << " " << p;
      ASSERT_EQ(back(e.dy, a.desktop.Top, a.desktop.Height), expected.y) << a.name << " " << p;
    }
  }
}

}  // namespace
}  // namespace raz
