#include "sim/scenario_player.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <tuple>

#include "sim/scenario_parser.h"

namespace raz::sim {
namespace {

ScenarioPlayer Play(const std::string& text) {
  return ScenarioPlayer(ParseScenario(text).scenario);
}

// The pen at each time in milliseconds: "ms contact x,y" to 0.01 cells, and the pressure where
// it is not 1.
std::string Timeline(const ScenarioPlayer& player, std::initializer_list<double> times) {
  const char* const contacts[] = {"away", "near", "hover", "touch", "right"};
  const auto cells = [](double v) { return std::round(v * 100) / 100; };
  std::ostringstream out;
  for (const double ms : times) {
    const PenState pen = player.PenAt(static_cast<std::uint64_t>(ms * 1000 + 0.5));
    out << ms << ' ' << contacts[static_cast<int>(pen.contact)];
    if (pen.contact != PenContact::Away)
      out << ' ' << cells(pen.position.x) << ',' << cells(pen.position.y);
    if (pen.pressure != 1.0) out << " p" << pen.pressure;
    out << "; ";
  }
  return out.str();
}

TEST(ScenarioPlayer, PlaysEveryKindOfPenStepThroughTime) {
  const ScenarioPlayer player = Play(
      "screen 1000 800\nprojection 80 70 100 80 0 0\nkeys 30 140 80 116 4\nwait 100ms\n"
      "hover cells 1 1\n"  // at the same instant as the touch after it, which wins
      "touch 500 400 200ms\nstroke cells 40 40 60 50 100ms\npressure 0.4\nhover cells 10 20\n"
      "wait 50ms\nright cells 11 21 50ms\nnear cells 12 22 50ms\ntapkey right 3 50ms 50ms\n"
      "calibrate 100ms 100ms\nkeycalibrate 100ms 100ms\nlift\n");
  // Without distortion a pixel (u, v) lies at cell (30 + u / 10, 30 + v / 10). Icons are 4
  // cells square; the tour touches corners, edge midpoints and centre, 50 px inside the screen,
  // each at the centre of its cross's pixel.
  EXPECT_EQ(Timeline(player, {0, 99.999, 100, 299.999, 300, 350, 400, 449.999, 450, 500, 575, 625}),
            "0 away; 99.999 away; 100 touch 80,70; 299.999 touch 80,70; 300 touch 40,40; "
            "350 touch 50,45; 400 hover 10,20 p0.4; 449.999 hover 10,20 p0.4; "
            "450 right 11,21 p0.4; 500 near 12,22 p0.4; 575 touch 142,90 p0.4; 625 away; ");
  EXPECT_EQ(Timeline(player, {700, 775, 900, 1100, 1300, 1500, 1700, 1900, 2100, 2300, 2500, 2700,
                              2900, 2950, 9000}),
            "700 touch 35.05,35.05 p0.4; 775 away; 900 touch 80.05,35.05 p0.4; "
            "1100 touch 125.05,35.05 p0.4; 1300 touch 125.05,70.05 p0.4; "
            "1500 touch 125.05,105.05 p0.4; 1700 touch 80.05,105.05 p0.4; "
            "1900 touch 35.05,105.05 p0.4; 2100 touch 35.05,70.05 p0.4; "
            "2300 touch 80.05,70.05 p0.4; "
            "2500 touch 30,80 p0.4; 2700 touch 30,116 p0.4; 2900 touch 140,96 p0.4; "
            "2950 away; 9000 away; ");
  EXPECT_EQ(player.EndMicros(), 3'050'000u);
}

TEST(ScenarioPlayer, MenuAndClientStepsAreActionsAtTheirTimeAndTakeNone) {
  const ScenarioPlayer player =
      Play("wait 1s\nmenu N1\ncalibrate\nclient 101 4660\nmenu Esc\nclient 326\n");
  const auto& actions = player.Actions();
  ASSERT_EQ(actions.size(), 4u);
  const std::uint64_t tourEnd = 1'000'000 + 9 * 500'000;
  EXPECT_EQ(actions[0].at, 1'000'000u);
  EXPECT_EQ(actions[0].step.item, "n1");
  EXPECT_EQ(actions[1].at, tourEnd);
  EXPECT_EQ(actions[1].step.kind, StepKind::Client);
  EXPECT_EQ(actions[1].step.wParam, 101);
  EXPECT_EQ(actions[1].step.lParam, 4660);
  EXPECT_EQ(actions[2].step.item, "esc");
  EXPECT_EQ(actions[3].step.lParam, 0);
  EXPECT_EQ(player.EndMicros(), tourEnd);
}

TEST(ScenarioPlayer, PixelStrokeIsStraightOnTheScreenNotOnTheBoard) {
  const ScenarioPlayer player = Play("projection 88 72 94 120 3 0.2\nstroke 100 100 900 700 1s\n");
  for (const std::uint64_t t : {0u, 250'000u, 500'000u, 999'000u}) {
    const PixelPoint seen = player.projection().ToScreen(player.PenAt(t).position);
    EXPECT_NEAR(seen.x, 100 + 800 * (t / 1e6), 1e-6) << "t = " << t;
    EXPECT_NEAR(seen.y, 100 + 600 * (t / 1e6), 1e-6) << "t = " << t;
  }
}

TEST(ScenarioPlayer, CableEventsAccumulate) {
  const ScenarioPlayer player =
      Play("wait 1s\nunplug 2s\nplug\nreadfail 3\nwait 1s\nunplug\nreadfail\nplug\n");
  using Row = std::tuple<std::uint64_t, bool, std::uint32_t, std::uint32_t>;  // plugged, counts
  for (const Row& row :
       {Row{0, true, 0, 0}, Row{999'999, true, 0, 0}, Row{1'000'000, false, 1, 0},
        Row{2'999'999, false, 1, 0}, Row{3'000'000, true, 1, 3}, Row{4'000'000, true, 2, 4}}) {
    const LinkCondition link = player.LinkAt(std::get<0>(row));
    EXPECT_EQ(Row(std::get<0>(row), link.plugged, link.unplugCount, link.readFailures), row);
  }
}

}  // namespace
}  // namespace raz::sim
