#include "sim/scenario_parser.h"

#include <gtest/gtest.h>

#include <random>

namespace raz::sim {
namespace {

ScenarioStep OnlyStep(const std::string& text) {
  const ScenarioParse parse = ParseScenario(text);
  EXPECT_TRUE(parse.Ok()) << text << ": " << (parse.Ok() ? "" : FormatError(parse.errors[0]));
  EXPECT_EQ(parse.scenario.steps.size(), 1u) << text;
  return parse.scenario.steps.empty() ? ScenarioStep{} : parse.scenario.steps[0];
}

TEST(ParseScenario, ReadsEveryKindOfStep) {
  struct Row {
    const char* text;
    StepKind kind;
    PenContact contact;
    ScenarioPoint from;
    ScenarioPoint to;
    std::uint64_t duration;
  };
  const ScenarioPoint none{};
  const Row rows[] = {
      {"touch 100 200", StepKind::Pen, PenContact::Touch, {100, 200}, {100, 200}, 0},
      {"TOUCH px 100 200 250ms", StepKind::Pen, PenContact::Touch, {100, 200}, {100, 200}, 250000},
      {"touch cells 71.3 40",
       StepKind::Pen,
       PenContact::Touch,
       {71.3, 40, Units::Cells},
       {71.3, 40, Units::Cells},
       0},
      {"hover 5 6 1.5s", StepKind::Pen, PenContact::Hover, {5, 6}, {5, 6}, 1500000},
      {"right 5 6 800us", StepKind::Pen, PenContact::RightButton, {5, 6}, {5, 6}, 800},
      {"near -3 6 20", StepKind::Pen, PenContact::Near, {-3, 6}, {-3, 6}, 20000},
      {"stroke 10 20 30 40 1s", StepKind::Stroke, PenContact::Touch, {10, 20}, {30, 40}, 1000000},
      {"stroke hover cells 1 2 3 4 10ms",
       StepKind::Stroke,
       PenContact::Hover,
       {1, 2, Units::Cells},
       {3, 4, Units::Cells},
       10000},
      {"lift", StepKind::Pen, PenContact::Away, none, none, 0},
      {"lift 2s", StepKind::Pen, PenContact::Away, none, none, 2000000},
      {"wait 3s  # comment", StepKind::Wait, PenContact::Away, none, none, 3000000},
      {"unplug 5s", StepKind::Unplug, PenContact::Away, none, none, 5000000},
      {"plug", StepKind::Plug, PenContact::Away, none, none, 0},
  };
  for (const Row& row : rows) {
    const ScenarioStep step = OnlyStep(row.text);
    EXPECT_EQ(step.kind, row.kind) << row.text;
    EXPECT_EQ(step.contact, row.contact) << row.text;
    EXPECT_EQ(step.from, row.from) << row.text;
    EXPECT_EQ(step.to, row.to) << row.text;
    EXPECT_EQ(step.durationMicros, row.duration) << row.text;
    EXPECT_EQ(step.line, 1) << row.text;
  }
}

TEST(ParseScenario, ReadsKeyTapsToursAndReadFailures) {
  const ScenarioStep tap = OnlyStep("tapkey right 4 2s");
  EXPECT_EQ(tap.kind, StepKind::TapKey);
  EXPECT_EQ(tap.margin, Margin::Right);
  EXPECT_EQ(tap.icon, 4);
  EXPECT_EQ(tap.holdMicros, 2000000u);
  EXPECT_EQ(OnlyStep("tapkey left 1").holdMicros, 100000u);

  const ScenarioStep tour = OnlyStep("calibrate 400ms 300ms");
  EXPECT_EQ(tour.kind, StepKind::Calibrate);
  EXPECT_EQ(tour.holdMicros, 400000u);
  EXPECT_EQ(tour.gapMicros, 300000u);
  EXPECT_EQ(OnlyStep("keycalibrate").kind, StepKind::KeyCalibrate);

  EXPECT_EQ(OnlyStep("readfail").count, 1u);
  EXPECT_EQ(OnlyStep("readfail 12").count, 12u);
}

TEST(ParseScenario, SettingsShapeTheSimulatedSetup) {
  const ScenarioParse parse = ParseScenario(
      "rate 120\nqueue 4096\nboard type2\npen 10\npenright 60\npeak 200\nhoverpeak 90\n"
      "nearpeak 40\nnoise 1.5 seed 77\nscreen 1920 1080\nprojection 90 70 100 60 -0.5 0.03\n"
      "keys 30 145 70 110 3\npressure 0.5\ntouch 1 1\n");
  ASSERT_TRUE(parse.Ok()) << FormatError(parse.errors[0]);
  const SimSettings& s = parse.scenario.settings;
  EXPECT_EQ(s.board.reportsPerSecond, 120u);
  EXPECT_EQ(s.board.queueCapacity, 4096u);
  EXPECT_EQ(s.board.model.status.kind, BoardKind::TypeTwo);
  EXPECT_EQ(s.board.model.status.penTouchLimit, 10);
  EXPECT_EQ(s.board.model.status.penRightCentre, 60);
  EXPECT_EQ(s.board.model.touchPeak, 200.0);
  EXPECT_EQ(s.board.model.hoverPeak, 90.0);
  EXPECT_EQ(s.board.model.nearPeak, 40.0);
  EXPECT_EQ(s.board.model.noiseSigma, 1.5);
  EXPECT_EQ(s.board.model.noiseSeed, 77u);
  EXPECT_EQ(s.projection.screenWidth, 1920);
  EXPECT_EQ(s.projection.screenHeight, 1080);
  EXPECT_EQ(s.projection.centre, (BoardPoint{90, 70}));
  EXPECT_EQ(s.projection.widthCells, 100.0);
  EXPECT_EQ(s.projection.heightCells, 60.0);
  EXPECT_EQ(s.projection.rotationDegrees, -0.5);
  EXPECT_EQ(s.projection.keystone, 0.03);
  EXPECT_EQ(s.keys.leftInnerEdge, 30.0);
  EXPECT_EQ(s.keys.iconWidth, 3.0);
  ASSERT_EQ(parse.scenario.steps.size(), 1u) << "settings take no time and make no step";
  EXPECT_EQ(parse.scenario.steps[0].pressure, 0.5);
  EXPECT_EQ(parse.scenario.steps[0].line, 14);
}

TEST(ParseScenario, BadLinesAreReportedWithTheirNumberAndSkipped) {
  struct Row {
    const char* text;
    const char* message;  // a part of the message
  };
  const Row rows[] = {
      {"tuch 1 2", "unknown command 'tuch'"},
      {"touch 1", "missing y"},
      {"touch a 2", "x must be a number, not 'a'"},
      {"touch 1 2 3 4", "unexpected '4'"},
      {"touch 1 2 5min", "duration must be a duration"},
      {"touch nan 2", "x must be a number"},
      {"touch 1e300 2", "out of range"},
      {"wait", "missing duration"},
      {"wait -5ms", "out of range"},
      {"wait 2days", "duration must be a duration"},
      {"stroke 1 2 3 4", "missing duration"},
      {"stroke sideways 1 2 3 4 1s", "start x must be a number, not 'sideways'"},
      {"tapkey up 1", "margin must be left or right"},
      {"tapkey left 10", "icon '10' is out of range"},
      {"tapkey left 1.5", "icon must be a whole number"},
      {"readfail 0", "out of range"},
      {"rate 0", "out of range"},
      {"rate 99999999999999999999", "out of range"},
      {"board type3", "board kind must be"},
      {"pen 2147483648", "out of range"},
      {"noise 1 seed -1", "seed must be a whole number"},
      {"pressure 3", "out of range"},
      {"projection 1 2 0 5", "width '0' is out of range"},
      {"screen 1024", "missing screen height"},
  };
  for (const Row& row : rows) {
    const ScenarioParse parse = ParseScenario(std::string("wait 1s\n") + row.text + "\nlift\n");
    ASSERT_EQ(parse.errors.size(), 1u) << row.text;
    EXPECT_EQ(parse.errors[0].line, 2) << row.text;
    EXPECT_NE(parse.errors[0].message.find(row.message), std::string::npos)
        << row.text << " gave: " << parse.errors[0].message;
    EXPECT_EQ(parse.scenario.steps.size(), 2u) << row.text << ": the good lines stay";
  }
}

TEST(ParseScenario, ABadSettingsLineChangesNothing) {
  const ScenarioParse parse = ParseScenario("rate 150 extra\npressure 0.5 x\ntouch 1 1\n");
  EXPECT_EQ(parse.errors.size(), 2u);
  EXPECT_EQ(parse.scenario.settings.board.reportsPerSecond, 200u);
  ASSERT_EQ(parse.scenario.steps.size(), 1u);
  EXPECT_EQ(parse.scenario.steps[0].pressure, 1.0);
}

TEST(ParseScenario, CountsLinesAcrossBlankLinesCommentsAndWindowsLineEnds) {
  const ScenarioParse parse =
      ParseScenario("\xEF\xBB\xBF# first\r\n\r\n   \r\ntouch 1 2\r\nbogus\r\nwait 1s");
  ASSERT_EQ(parse.errors.size(), 1u);
  EXPECT_EQ(parse.errors[0].line, 5);
  EXPECT_EQ(FormatError(parse.errors[0]), "line 5: unknown command 'bogus'");
  ASSERT_EQ(parse.scenario.steps.size(), 2u);
  EXPECT_EQ(parse.scenario.steps[0].line, 4);
  EXPECT_EQ(parse.scenario.steps[1].line, 6);
}

TEST(ParseScenario, SurvivesArbitraryBytes) {
  std::mt19937 random(12345);
  const std::string alphabet = "touchwaitstrokecells0123456789.-+e# \t\r\n\x01\xFFms";
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 80);
    for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    const ScenarioParse parse = ParseScenario(text);
    for (const ScenarioError& error : parse.errors) {
      EXPECT_GE(error.line, 1);
      EXPECT_FALSE(error.message.empty());
    }
  }
}

}  // namespace
}  // namespace raz::sim
