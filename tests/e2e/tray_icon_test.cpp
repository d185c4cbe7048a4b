// The tray icon over a simulated board: it shows the board with the pen while the board sends
// its reports, though the 2 ms poll is faster than they come, and the grey board once they stop.
#include <gtest/gtest.h>

#include "hosts/headless/headless_host.h"
#include "sim/scenario_parser.h"
#include "sim/scenario_player.h"
#include "sim/sim_board.h"
#include "support/test_platform.h"

namespace raz {
namespace {

TEST(TrayIconOverASimulatedBoard, ShowsThePenWhileReportsArriveAndGreyAfterTheyStop) {
  // 200 reports a second: most 2 ms polls find the queue empty.
  const sim::ScenarioParse parse = sim::ParseScenario("rate 200\nwait 9s\nunplug 10s\n");
  ASSERT_TRUE(parse.Ok());
  const sim::ScenarioPlayer player(parse.scenario);
  const sim::DelayedPenSource source(player, 0);
  VirtualClock clock;
  sim::SimBoard board(clock, parse.scenario.settings.board);
  board.SetPenSource(&source);
  test::TestPlatform tp(&board, &clock);
  HeadlessHost host(tp.platform, clock);
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
    ASSERT_FALSE(tp.shell.trayCalls.empty());
    EXPECT_EQ(tp.shell.trayCalls.back().second.icon, watch.icon) << watch.seconds << " s";
  }
  EXPECT_EQ(host.form1().Timer1.Interval, 2u) << "no pen: the poll stays at its fastest";
}

}  // namespace
}  // namespace raz
