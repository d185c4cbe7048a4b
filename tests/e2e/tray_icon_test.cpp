// The tray icon over a simulated board: it shows the board with the pen while the board sends
// its reports, though the 2 ms poll is faster than they come, and the grey board once they stop;
// the slow poll of a board without a pen changes nothing of it.
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
    std::uint32_t poll;  // no pen since the board opened at 2 s: slow from 7 s until unplugged
  } watches[] = {
      {2, TrayIconImage::BoardWithPen, 2},  // opened now: no poll yet
      {4, TrayIconImage::BoardWithPen, 2},   {6, TrayIconImage::BoardWithPen, 2},
      {8, TrayIconImage::BoardWithPen, kIdlePollInterval},
      {10, TrayIconImage::BoardWithPen, 2},  // unplugged at 9 s
      {12, TrayIconImage::BoardGrey, 2},     {14, TrayIconImage::BoardGrey, 2},
  };
  for (const auto& watch : watches) {
    host.RunUntil(watch.seconds * 1'000'000);
    ASSERT_FALSE(trayCalls.empty());
    EXPECT_EQ(trayCalls.back().second.icon, watch.icon) << watch.seconds << " s";
    EXPECT_EQ(host.form1().Timer1.Interval, watch.poll) << watch.seconds << " s";
  }
}

}  // namespace
}  // namespace raz
