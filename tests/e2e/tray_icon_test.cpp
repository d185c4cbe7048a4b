// The tray icon over a simulated board: it shows the board with the pen while the board sends
// its reports, though the 2 ms poll is faster than they come, and the grey board once they stop.
#include <gtest/gtest.h>

#include "scenario_rig.h"

namespace raz {
namespace {

TEST(TrayIconOverASimulatedBoard, ShowsThePenWhileReportsArriveAndGreyAfterTheyStop) {
  // 200 reports a second: most 2 ms polls find the queue empty. The scenario starts 2 s in, so
  // the cable comes out at 9 s.
  test::ScenarioRig rig("rate 200\nwait 7s\nunplug 10s\n");
  HeadlessHost& host = rig.host();
  const auto& trayCalls = rig.platform().shell.trayCalls;
  host.Start();
  const struct {
    std::uint64_t seconds;
    TrayIconImage icon;
  } watches[] = {
      {2, TrayIconImage::BoardWithPen},  // opened now: no poll yet
      {4, TrayIconImage::BoardWithPen}, {6, TrayIconImage::BoardWithPen},
      {8, TrayIconImage::BoardWithPen}, {10, TrayIconImage::BoardWithPen},  // unplugged at 9 s
      {12, TrayIconImage::BoardGrey},   {14, TrayIconImage::BoardGrey},
  };
  for (const auto& watch : watches) {
    host.RunUntil(watch.seconds * 1'000'000);
    ASSERT_FALSE(trayCalls.empty());
    EXPECT_EQ(trayCalls.back().second.icon, watch.icon) << watch.seconds << " s";
  }
  EXPECT_EQ(host.form1().Timer1.Interval, 2u) << "no pen: the poll stays at its fastest";
}

}  // namespace
}  // namespace raz
