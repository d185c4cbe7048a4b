// The board's picture on a monitor other than the primary, and on a picture whose resolution
// changed since the tour, headless end to end: the tour, then touches aimed at pixels of the
// board's monitor must press there, wherever that monitor lies on the desktop.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>

#include "app/board_screen.h"
#include "scenario_rig.h"

namespace raz {
namespace {

// A grid of touches at pixel centres of a W x H picture, inset from its edges.
std::string GridTouches(ScreenSize picture, int grid, std::vector<ScreenPoint>& aims) {
  std::ostringstream text;
  for (int j = 0; j < grid; ++j) {
    for (int i = 0; i < grid; ++i) {
      const ScreenPoint p{12 + i * (picture.Width - 25) / (grid - 1),
                          12 + j * (picture.Height - 25) / (grid - 1)};
      aims.push_back(p);
      text << "touch " << p.x + 0.5 << ' ' << p.y + 0.5 << " 60ms\nlift 60ms\n";
    }
  }
  return text.str();
}

// Where the system puts the cursor for an event: across the primary or the virtual desktop.
ScreenPoint Landing(const MouseEventRecord& e, HeadlessDisplay& display) {
  ScreenRect span{0, 0, display.HorizontalResolution(), display.VerticalResolution()};
  if (e.flags & MouseFlags::VirtualDesk) span = DesktopBounds(display.Monitors());
  return {span.Left + static_cast<std::int32_t>((std::int64_t{e.dx} * span.Width) >> 16),
          span.Top + static_cast<std::int32_t>((std::int64_t{e.dy} * span.Height) >> 16)};
}

struct Errors {
  double max = 0.0;
  double rms = 0.0;
};

std::vector<ScreenPoint> Presses(test::ScenarioRig& rig) {
  std::vector<ScreenPoint> presses;
  for (const MouseEventRecord& e : rig.platform().mouse.events) {
    if (e.flags & MouseFlags::LeftDown) presses.push_back(Landing(e, rig.platform().display));
  }
  return presses;
}

// The presses from press `from` on, against their aims on a monitor with this top-left.
Errors PressErrors(const std::vector<ScreenPoint>& presses, std::size_t from,
                   const std::vector<ScreenPoint>& aims, ScreenPoint origin) {
  EXPECT_GE(presses.size(), from + aims.size());
  Errors e;
  for (std::size_t n = 0; n < aims.size() && from + n < presses.size(); ++n) {
    const ScreenPoint p = presses[from + n];
    const double d = std::hypot(p.x - origin.x - aims[n].x, p.y - origin.y - aims[n].y);
    e.max = std::max(e.max, d);
    e.rms += d * d / static_cast<double>(aims.size());
  }
  e.rms = std::sqrt(e.rms);
  return e;
}

struct Arrangement {
  const char* name;
  const char* desktop;  // the scenario's monitor and projector lines
  ScreenRect board;     // the projector's monitor
  const char* choose;   // the board-screen menu item
  int unplugged;        // the monitor switched off and on: the projector, unless it is primary
};

const Arrangement kArrangements[] = {
    {"right_of_laptop", "monitor 0 0 2880 1800 primary\nmonitor 2880 0 1024 768\nprojector 2\n",
     {2880, 0, 1024, 768}, "Screen2", 2},
    {"primary_laptop_left", "monitor -1920 0 1920 1080\nmonitor 0 0 1280 800 primary\nprojector 2\n",
     {0, 0, 1280, 800}, "Screen2", 1},
    {"above_laptop", "monitor 0 0 1366 768 primary\nmonitor 171 -768 1024 768\nprojector 2\n",
     {171, -768, 1024, 768}, "Screen2", 2},
};

class BoardScreen : public ::testing::TestWithParam<Arrangement> {};

// Chosen from the menu, the monitor takes the tour, the touches and a right-click; switched
// off, the pen falls back on the primary, nothing held; back on, the pen returns to it.
TEST_P(BoardScreen, ThePenFollowsTheChosenMonitorAndFallsBackWhileItIsOff) {
  const Arrangement& a = GetParam();
  std::vector<ScreenPoint> aims;
  const std::string grid = GridTouches(a.board.Size(), 3, aims);
  const std::string off = "display " + std::to_string(a.unplugged);
  test::ScenarioRig rig(std::string(a.desktop) + "projection 86 71 96 118 1 0\nwait 1s\nmenu " +
                        a.choose + "\nmenu N1\nwait 500ms\ncalibrate\nwait 500ms\n" + grid +
                        "right 300 200 300ms\nlift\ntouch 200 200 1s\n" + off +
                        " off\nwait 2500ms\nlift\ntouch 200 200 100ms\nlift\n" + off +
                        " on\nwait 2500ms\n" + grid);
  rig.Run();
  const auto& events = rig.platform().mouse.events;
  const std::vector<ScreenPoint> presses = Presses(rig);
  const ScreenPoint origin{a.board.Left, a.board.Top};
  const Errors first = PressErrors(presses, 0, aims, origin);
  std::printf("%s: grid on the board's monitor max %.2f px, RMS %.2f px\n", a.name, first.max,
              first.rms);
  EXPECT_LE(first.max, 2.5);
  int downs = 0;
  bool rightClicked = false, onPrimary = false;
  for (const MouseEventRecord& e : events) {
    downs += (e.flags & MouseFlags::LeftDown) ? 1 : (e.flags & MouseFlags::LeftUp) ? -1 : 0;
    EXPECT_GE(downs, 0);
    const ScreenPoint at = Landing(e, rig.platform().display);
    // The right-button pen clicks where the pen last was: on the board's monitor.
    rightClicked |= (e.flags & MouseFlags::RightDown) && at.x >= a.board.Left &&
                    at.x < a.board.Left + a.board.Width && at.y >= a.board.Top &&
                    at.y < a.board.Top + a.board.Height;
    onPrimary |= (e.flags & MouseFlags::LeftDown) && !(e.flags & MouseFlags::VirtualDesk);
  }
  EXPECT_EQ(downs, 0) << "no button left held";
  EXPECT_TRUE(rightClicked);
  EXPECT_TRUE(onPrimary) << "the fallback's press";
  // Back on, the last grid lands on the board's monitor again, as a restart finds it.
  EXPECT_LE(PressErrors(presses, presses.size() - aims.size(), aims, origin).max, 2.5);
  HeadlessHost restarted(rig.platform().platform, rig.platform().clock);
  restarted.Start();
  EXPECT_EQ(restarted.state().screen.Monitor, a.board);
}

INSTANTIATE_TEST_SUITE_P(Desktops, BoardScreen, ::testing::ValuesIn(kArrangements),
                         [](const auto& info) { return std::string(info.param.name); });

// Touch the board to find it, uncalibrated and after a tour: the teacher touches the cross the
// board shows, which is the cross of the board's monitor, and nothing reaches the mouse.
TEST(BoardScreenByTouch, TheCrossTouchedOnTheBoardPicksItsMonitor) {
  const std::string desktop = "monitor 0 0 1280 800 primary\nmonitor 1280 0 1024 768\n";
  const std::string untouched = "wait 1s\nmenu N10\nwait 500ms\ntouch 800 800 200ms\nlift\n";
  for (const std::string tour : {"", "wait 1s\nmenu N1\nwait 500ms\ncalibrate\n"}) {
    for (const int projector : {1, 2}) {
      const ScreenRect shown = projector == 1 ? ScreenRect{0, 0, 1280, 800}
                                              : ScreenRect{1280, 0, 1024, 768};
      const ScreenPoint cross = FindingCross(projector - 1, 2, {0, 0, shown.Width, shown.Height});
      test::ScenarioRig rig(desktop + "projector " + std::to_string(projector) +
                            "\nprojection 86 71 96 118 1 0\n" + tour + untouched + "touch " +
                            std::to_string(cross.x) + " " + std::to_string(cross.y) +
                            " 300ms\nlift\nwait 500ms\n");
      const std::size_t before = rig.platform().mouse.events.size();
      rig.Run();
      SCOPED_TRACE(tour + " projector " + std::to_string(projector));
      EXPECT_EQ(rig.host().state().screen.Monitor, shown);
      EXPECT_FALSE(rig.host().form1().Window.Visible);
      EXPECT_EQ(rig.platform().mouse.events.size(), before) << "no click from the touches";
    }
  }
}

// A tour at 1024 x 768, then the board's monitor at other resolutions with no new tour: the
// projector shows each picture over the same area, its shape kept, and a touch aimed at a pixel
// of the new picture presses there.
TEST(BoardScreenResolution, AUsersCalibrationMapsInProportionAfterAChange) {
  const ScreenSize kSizes[] = {{1024, 768}, {1280, 960}, {1920, 1080}, {800, 600}};
  for (const ScreenSize size : kSizes) {
    std::vector<ScreenPoint> aims;
    const std::string grid = GridTouches(size, 9, aims);
    test::ScenarioRig rig("screen 1024 768\nprojection 86 71 96 118 1 0\nwait 1s\nmenu N1\n"
                          "wait 500ms\ncalibrate\nwait 500ms\ndisplay 1 " +
                          std::to_string(size.Width) + " " + std::to_string(size.Height) +
                          "\nwait 2500ms\n" + grid);
    rig.Run();
    const Errors e = PressErrors(Presses(rig), 0, aims, {0, 0});
    std::printf("tour at 1024 x 768, grid at %d x %d: max %.2f px, RMS %.2f px\n", size.Width,
                size.Height, e.max, e.rms);
    // A pixel of the tour's picture is 1.9 pixels of a 1920-wide one: its noise grows with it.
    EXPECT_LE(e.max, 2.5) << size.Width;
    EXPECT_LE(e.rms, 1.3) << size.Width;
  }
}

}  // namespace
}  // namespace raz
