#include "hosts/headless/headless_host.h"

#include <gtest/gtest.h>

#include "support/test_platform.h"

namespace raz {
namespace {

using Firing = HeadlessHost::Firing;

class HeadlessHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.recordFirings = true;
    host.Start();
  }
  std::vector<Firing> FiringsOf(TimerId id) const {
    std::vector<Firing> out;
    for (const auto& f : host.firings()) {
      if (f.timer == id) out.push_back(f);
    }
    return out;
  }

  test::TestPlatform tp;
  HeadlessHost host{tp.platform, tp.clock};
};

TEST_F(HeadlessHostTest, TimersFireAtTheirIntervalsFromStartUp) {
  host.RunUntil(6'000'000);
  EXPECT_EQ(FiringsOf(TimerId::Timer2),
            (std::vector<Firing>{{2'000'000, TimerId::Timer2},
                                 {4'000'000, TimerId::Timer2},
                                 {6'000'000, TimerId::Timer2}}));
  EXPECT_EQ(FiringsOf(TimerId::Timer3),
            (std::vector<Firing>{{3'000'000, TimerId::Timer3}, {6'000'000, TimerId::Timer3}}));
  EXPECT_TRUE(FiringsOf(TimerId::Timer1).empty()) << "Timer1 waits for the board";
  EXPECT_EQ(host.clock().NowMicros(), 6'000'000u);
}

TEST_F(HeadlessHostTest, EnablingTimer1StartsItsCountdownAtOnce) {
  host.RunUntil(1'000'000);
  host.Dispatch([&] { host.form1().Timer1.Enabled = true; });
  host.RunUntil(1'010'000);
  const auto ticks = FiringsOf(TimerId::Timer1);
  ASSERT_EQ(ticks.size(), 5u);
  EXPECT_EQ(ticks.front().micros, 1'002'000u);
  EXPECT_EQ(ticks.back().micros, 1'010'000u);
}

TEST_F(HeadlessHostTest, ChangingAnIntervalRestartsButRewritingTheSameValueDoesNot) {
  host.Dispatch([&] { host.form1().Timer1.Enabled = true; });
  host.RunUntil(4'000);  // ticks at 2 and 4 ms
  host.Dispatch([&] { host.form1().Timer1.Interval = 20; });
  host.RunUntil(30'000);  // one tick at 24 ms
  host.RunUntil(2'500'000);
  // Timer3 keeps its countdown when a handler enables it while it already runs.
  host.Dispatch([&] { host.form1().Timer3.Enabled = true; });
  host.RunUntil(3'000'000);
  const auto timer1 = FiringsOf(TimerId::Timer1);
  ASSERT_GE(timer1.size(), 3u);
  EXPECT_EQ(timer1[0].micros, 2'000u);
  EXPECT_EQ(timer1[1].micros, 4'000u);
  EXPECT_EQ(timer1[2].micros, 24'000u);
  EXPECT_EQ(FiringsOf(TimerId::Timer3).front().micros, 3'000'000u);
}

TEST_F(HeadlessHostTest, AnEscapedExceptionIsShownAndTheProgramGoesOn) {
  host.Dispatch([] { throw std::runtime_error("Unable to write to C:\\x\\VaziZod.ini"); });
  ASSERT_EQ(host.shownErrors().size(), 1u);
  EXPECT_EQ(host.shownErrors()[0], "Unable to write to C:\\x\\VaziZod.ini");
  host.RunUntil(2'000'000);
  EXPECT_EQ(FiringsOf(TimerId::Timer2).size(), 1u);
}

TEST_F(HeadlessHostTest, ExitStopsEveryTimerAndRemovesTheTrayIcon) {
  host.Dispatch([&] { host.form1().N3Click(); });
  EXPECT_TRUE(host.Closed());
  ASSERT_FALSE(tp.shell.trayCalls.empty());
  EXPECT_EQ(tp.shell.trayCalls.back().first, TrayOperation::Delete);
  EXPECT_EQ(host.state().interpolation.SpanTracking, 0);
  host.RunUntil(10'000'000);
  EXPECT_TRUE(host.firings().empty());
}

// The answer is the message result; 326 gives 9 whatever the state, 325 says no board.
TEST_F(HeadlessHostTest, ClientRequestsAreAnsweredThroughTheResult) {
  EXPECT_EQ(host.SendClientRequest(326, 0), 9);
  EXPECT_EQ(host.SendClientRequest(325, 0), 0);
  EXPECT_EQ(host.SendClientRequest(101, 0x5150), 1);
  EXPECT_EQ(host.state().client.ClientWindow, 0x5150u);
  EXPECT_EQ(host.SendClientRequest(7, 0x9999), 0);
  EXPECT_EQ(host.state().client.ClientWindow, 0x5150u);
}

}  // namespace
}  // namespace raz
