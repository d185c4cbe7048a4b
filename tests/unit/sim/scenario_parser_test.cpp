#include "sim/scenario_parser.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <tuple>

namespace raz::sim {
namespace {

// A parse as text: each error, then each step with the fields its kind uses and its line.
std::string Describe(const std::string& text) {
  const char* const kinds[] = {"pen",       "stroke",       "wait",     "unplug",
                               "plug",      "readfail",     "shortread", "tapkey",
                               "calibrate", "keycalibrate", "menu",     "client"};
  const char* const contacts[] = {"away", "near", "hover", "touch", "right"};
  const ScenarioParse parse = ParseScenario(text);
  std::ostringstream out;
  for (const ScenarioError& error : parse.errors) out << FormatError(error) << "; ";
  for (const ScenarioStep& s : parse.scenario.steps) {
    out << kinds[static_cast<int>(s.kind)];
    if (s.kind == StepKind::Pen || s.kind == StepKind::Stroke) {
      out << ' ' << contacts[static_cast<int>(s.contact)];
      for (const ScenarioPoint& p : {s.from, s.to}) {
        out << ' ' << p.x << ',' << p.y << (p.units == Units::Cells ? "c" : "");
      }
    }
    if (s.durationMicros > 0) out << ' ' << s.durationMicros << "us";
    if (s.kind == StepKind::TapKey)
      out << (s.margin == Margin::Left ? " left " : " right ") << s.icon;
    if (s.holdMicros > 0) out << " hold " << s.holdMicros << " gap " << s.gapMicros;
    if (s.count > 0) out << " x" << s.count;
    if (s.kind == StepKind::Menu) out << ' ' << s.item;
    if (s.kind == StepKind::Client) out << ' ' << s.wParam << ',' << s.lParam;
    if (s.pressure != 1.0) out << " pressure " << s.pressure;
    out << " @" << s.line << "; ";
  }
  return out.str();
}

TEST(ParseScenario, ReadsGoodLinesAndReportsBadOnesWithTheirNumber) {
  const std::pair<const char*, const char*> rows[] = {
      {"TOUCH px 100 200 250ms", "pen touch 100,200 100,200 250000us @1; "},
      {"hover 5 6 1.5s\nright 5 6 800us",
       "pen hover 5,6 5,6 1500000us @1; pen right 5,6 5,6 800us @2; "},
      {"near -3 6 20", "pen near -3,6 -3,6 20000us @1; "},
      {"stroke hover cells 1 2 3 4 10ms", "stroke hover 1,2c 3,4c 10000us @1; "},
      {"lift\nlift 2s", "pen away 0,0 0,0 @1; pen away 0,0 0,0 2000000us @2; "},
      {"wait 3s  # comment\nunplug 5s\nplug", "wait 3000000us @1; unplug 5000000us @2; plug @3; "},
      {"readfail\nreadfail 12", "readfail x1 @1; readfail x12 @2; "},
      {"shortread\nshortread 3", "shortread x1 @1; shortread x3 @2; "},
      {"tapkey left 1", "tapkey left 1 hold 100000 gap 100000 @1; "},
      {"menu N1\nMENU button1\nclient 101 -5\nclient 326",
       "menu n1 @1; menu button1 @2; client 101,-5 @3; client 326,0 @4; "},
      {"menu", "line 1: missing menu item, button or key; "},
      {"menu N1 N6", "line 1: unexpected 'N6'; "},
      {"client x", "line 1: wParam must be a whole number, not 'x'; "},
      {"calibrate\nkeycalibrate",
       "calibrate hold 300000 gap 200000 @1; keycalibrate hold 300000 gap 200000 @2; "},
      {"pressure 0.5\ntouch 1 1", "pen touch 1,1 1,1 pressure 0.5 @2; "},
      {"\xEF\xBB\xBF# first\r\n\r\n   \r\ntouch 1 2\r\nbogus\r\nwait 1s",
       "line 5: unknown command 'bogus'; pen touch 1,2 1,2 @4; wait 1000000us @6; "},
      {"touch 1\nlift", "line 1: missing y; pen away 0,0 0,0 @2; "},
      {"touch a 2", "line 1: x must be a number, not 'a'; "},
      {"touch nan 2", "line 1: x must be a number, not 'nan'; "},
      {"touch 1 2 5min", "line 1: duration must be a duration such as 250ms or 1.5s, not '5min'; "},
      {"wait -5ms", "line 1: duration '-5ms' is out of range; "},
      {"stroke 1 2 3 4", "line 1: missing duration; "},
      {"tapkey up 1", "line 1: margin must be left or right; "},
      {"tapkey left 1.5", "line 1: icon must be a whole number, not '1.5'; "},
      {"board type3", "line 1: board kind must be type1, type2 or mixed; "},
      {"pen 2147483648", "line 1: Pen setting '2147483648' is out of range; "},
      {"noise 1 seed -1", "line 1: seed must be a whole number, not '-1'; "},
      {"pressure 3\npressure 0.5 x\ntouch 1 1",
       "line 1: pressure '3' is out of range; line 2: unexpected 'x'; pen touch 1,1 1,1 @3; "},
      {"projection 1 2 0 5", "line 1: width '0' is out of range; "},
  };
  for (const auto& [text, want] : rows) EXPECT_EQ(Describe(text), want) << text;
}

// Screen, projection placement and keys are checked by playing them (scenario_player_test).
TEST(ParseScenario, SettingsShapeTheSimulatedSetupAndABadOneChangesNothing) {
  const ScenarioParse parse = ParseScenario(
      "rate 120\nqueue 4096\nboard type2\npen 10\npenright 60\npeak 200\nhoverpeak 90\n"
      "nearpeak 40\nnoise 1.5 seed 77\nprojection 90 70 100 60 -0.5 0.03\nrate 150 extra\n");
  ASSERT_EQ(parse.errors.size(), 1u);
  const SimSettings& s = parse.scenario.settings;
  const BoardModelConfig& m = s.board.model;
  EXPECT_EQ(std::tuple(s.board.reportsPerSecond, s.board.queueCapacity, m.status.kind,
                       m.status.penTouchLimit, m.status.penRightCentre),
            std::tuple(120u, 4096u, BoardKind::TypeTwo, 10, 60));
  EXPECT_EQ(std::tuple(m.touchPeak, m.hoverPeak, m.nearPeak, m.noiseSigma, m.noiseSeed,
                       s.projection.rotationDegrees, s.projection.keystone),
            std::tuple(200.0, 90.0, 40.0, 1.5, 77u, -0.5, 0.03));
}

TEST(ParseScenario, SurvivesArbitraryBytes) {
  std::mt19937 random(12345);
  const std::string alphabet = "touchwaitstrokecells0123456789.-+e# \t\r\n\x01\xFFms";
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    for (auto left = random() % 80; left > 0; --left) text += alphabet[random() % alphabet.size()];
    for (const ScenarioError& error : ParseScenario(text).errors) {
      EXPECT_GE(error.line, 1);
      EXPECT_FALSE(error.message.empty());
    }
  }
}

}  // namespace
}  // namespace raz::sim
