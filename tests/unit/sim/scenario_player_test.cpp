#include "sim/scenario_player.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_host.h"
#include "sim/scenario_parser.h"
#include "sim/sim_board.h"

namespace raz::sim {
namespace {

Scenario Parsed(const std::string& text) {
  ScenarioParse parse = ParseScenario(text);
  EXPECT_TRUE(parse.Ok()) << (parse.Ok() ? "" : FormatError(parse.errors[0]));
  return parse.scenario;
}

// A projection without distortion so that expected board positions are easy to write.
constexpr const char* kSquareScreen = "screen 1000 800\nprojection 80 70 100 80 0 0\n";

TEST(ScenarioPlayer, PlaysThePenThroughTime) {
  const ScenarioPlayer player(Parsed(std::string(kSquareScreen) + "wait 100ms\n"
                                                                  "touch 500 400 200ms\n"
                                                                  "stroke cells 40 40 60 50 100ms\n"
                                                                  "hover cells 10 20\n"
                                                                  "wait 50ms\n"
                                                                  "right cells 11 21 50ms\n"
                                                                  "near cells 12 22 50ms\n"
                                                                  "lift\n"));
  struct Row {
    std::uint64_t t;
    PenContact contact;
    BoardPoint position;
  };
  const Row rows[] = {
      {0, PenContact::Away, {}},
      {99'999, PenContact::Away, {}},
      {100'000, PenContact::Touch, {80, 70}},
      {299'999, PenContact::Touch, {80, 70}},
      {300'000, PenContact::Touch, {40, 40}},
      {350'000, PenContact::Touch, {50, 45}},
      {399'999, PenContact::Touch, {59.9998, 49.9999}},
      {400'000, PenContact::Hover, {10, 20}},
      {449'999, PenContact::Hover, {10, 20}},
      {450'000, PenContact::RightButton, {11, 21}},
      {500'000, PenContact::Near, {12, 22}},
      {550'000, PenContact::Away, {}},
      {9'000'000, PenContact::Away, {}},
  };
  for (const Row& row : rows) {
    const PenState pen = player.PenAt(row.t);
    EXPECT_EQ(pen.contact, row.contact) << "t = " << row.t;
    if (row.contact == PenContact::Away) continue;
    EXPECT_NEAR(pen.position.x, row.position.x, 1e-3) << "t = " << row.t;
    EXPECT_NEAR(pen.position.y, row.position.y, 1e-3) << "t = " << row.t;
  }
  EXPECT_EQ(player.EndMicros(), 550'000u);
}

TEST(ScenarioPlayer, PixelStrokeIsStraightOnTheScreenNotOnTheBoard) {
  const ScenarioPlayer player(Parsed("projection 88 72 94 120 3 0.2\nstroke 100 100 900 700 1s\n"));
  for (const std::uint64_t t : {0u, 250'000u, 500'000u, 999'000u}) {
    const double fraction = t / 1e6;
    const PixelPoint seen = player.projection().ToScreen(player.PenAt(t).position);
    EXPECT_NEAR(seen.x, 100 + 800 * fraction, 1e-6) << "t = " << t;
    EXPECT_NEAR(seen.y, 100 + 600 * fraction, 1e-6) << "t = " << t;
  }
}

TEST(ScenarioPlayer, LaterStepAtTheSameInstantWins) {
  const ScenarioPlayer player(Parsed("touch cells 10 10\ntouch cells 20 20\nwait 1s\n"));
  EXPECT_EQ(player.PenAt(0).position, (BoardPoint{20, 20}));
}

TEST(ScenarioPlayer, PressureAppliesToTheStepsAfterIt) {
  const ScenarioPlayer player(Parsed("touch 1 1 10ms\npressure 0.4\ntouch 1 1 10ms\n"));
  EXPECT_EQ(player.PenAt(5'000).pressure, 1.0);
  EXPECT_EQ(player.PenAt(15'000).pressure, 0.4);
}

TEST(ScenarioPlayer, CableEventsAccumulate) {
  const ScenarioPlayer player(
      Parsed("wait 1s\nunplug 2s\nplug\nreadfail 3\nwait 1s\nunplug\nreadfail\nplug\n"));
  struct Row {
    std::uint64_t t;
    bool plugged;
    std::uint32_t unplugs;
    std::uint32_t failures;
  };
  const Row rows[] = {
      {0, true, 0, 0},          {999'999, true, 0, 0},   {1'000'000, false, 1, 0},
      {2'999'999, false, 1, 0}, {3'000'000, true, 1, 3}, {4'000'000, true, 2, 4},
  };
  for (const Row& row : rows) {
    const LinkCondition link = player.LinkAt(row.t);
    EXPECT_EQ(link.plugged, row.plugged) << "t = " << row.t;
    EXPECT_EQ(link.unplugCount, row.unplugs) << "t = " << row.t;
    EXPECT_EQ(link.readFailures, row.failures) << "t = " << row.t;
  }
}

TEST(ScenarioPlayer, TapKeyTouchesTheIconCentreThenLifts) {
  const Scenario scenario = Parsed("tapkey right 3 200ms 50ms\ntouch cells 5 5\n");
  const ScenarioPlayer player(scenario);
  const PenState pressed = player.PenAt(100'000);
  EXPECT_EQ(pressed.contact, PenContact::Touch);
  EXPECT_EQ(pressed.position, KeyCentre(scenario.settings.keys, Margin::Right, 3));
  EXPECT_EQ(player.PenAt(220'000).contact, PenContact::Away);
  EXPECT_EQ(player.PenAt(250'000).position, (BoardPoint{5, 5}));
}

TEST(ScenarioPlayer, CalibrateTouchesTheNineTargetsInTourOrder) {
  const Scenario scenario = Parsed("screen 1024 768\ncalibrate 300ms 200ms\n");
  const ScenarioPlayer player(scenario);
  const PixelPoint targets[] = {{50, 50},   {512, 50}, {974, 50}, {974, 384}, {974, 718},
                                {512, 718}, {50, 718}, {50, 384}, {512, 384}};
  for (std::uint64_t i = 0; i < 9; ++i) {
    const PenState pen = player.PenAt(i * 500'000 + 150'000);
    ASSERT_EQ(pen.contact, PenContact::Touch) << "target " << i;
    const PixelPoint seen = player.projection().ToScreen(pen.position);
    EXPECT_NEAR(seen.x, targets[i].x, 1e-6) << "target " << i;
    EXPECT_NEAR(seen.y, targets[i].y, 1e-6) << "target " << i;
    EXPECT_EQ(player.PenAt(i * 500'000 + 400'000).contact, PenContact::Away) << "target " << i;
  }
  EXPECT_EQ(player.EndMicros(), 4'500'000u);
}

TEST(ScenarioPlayer, KeyCalibrateTouchesTheThreeKeyCorners) {
  const Scenario scenario = Parsed("keycalibrate 100ms 100ms\n");
  const ScenarioPlayer player(scenario);
  const auto corners = KeyCalibrationPoints(scenario.settings.keys);
  for (std::uint64_t i = 0; i < 3; ++i) {
    EXPECT_EQ(player.PenAt(i * 200'000 + 50'000).position, corners[i]) << "point " << i;
  }
}

// The player drives the simulated board: the cable follows the scenario, and the reports carry
// its pen.
TEST(ScenarioPlayer, DrivesTheSimulatedBoard) {
  const Scenario scenario = Parsed("touch cells 71.3 71.3 1s\nunplug 1s\nplug\nreadfail\n");
  const ScenarioPlayer player(scenario);
  VirtualClock clock;
  SimBoard board(clock, scenario.settings.board);
  board.SetPenSource(&player);
  UsbHandle handle = 0;
  ASSERT_EQ(board.OpenDevice(0, handle), SimStatus::Success);

  clock.Set(10'000);
  std::uint8_t report[45];
  std::uint32_t read = 0;
  ASSERT_EQ(board.Read(handle, report, 45, read), SimStatus::Success);
  ASSERT_EQ(read, 45u);
  EXPECT_EQ(report[2 + 14], 218) << "sensor 15 of the worked example row";

  std::uint32_t count = 0;
  clock.Set(1'500'000);
  EXPECT_NE(board.ProbeDevices(count), SimStatus::Success);
  clock.Set(2'000'000);
  EXPECT_EQ(board.ProbeDevices(count), SimStatus::Success);
  ASSERT_EQ(board.OpenDevice(0, handle), SimStatus::Success);
  clock.Set(2'010'000);
  EXPECT_EQ(board.Read(handle, report, 45, read), SimStatus::ReadError);
  EXPECT_EQ(board.Read(handle, report, 45, read), SimStatus::Success);
}

}  // namespace
}  // namespace raz::sim
