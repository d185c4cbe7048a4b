// razazide-record's capture of a simulated board, replayed by razazide-sim, against the
// driver reading the same board itself. The recorder polls every 2 ms, as Timer1 does before
// the first drag, so what the replay decodes is what the driver decodes.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "options.h"
#include "hosts/headless/headless_host.h"
#include "recorder.h"
#include "run.h"
#include "sim/capture_board.h"
#include "sim/scenario_parser.h"
#include "sim/scenario_player.h"
#include "sim/sim_board.h"
#include "support/test_platform.h"

namespace raz {
namespace {

struct Event {
  std::string names;
  int x = 0;
  int y = 0;
};

std::vector<Event> MouseEvents(const std::string& jsonLines) {
  static const std::regex kMouse(
      R"re("event":"mouse".*"names":"([A-Z|]+)".*"x":(-?\d+),"y":(-?\d+))re");
  std::vector<Event> events;
  std::istringstream lines(jsonLines);
  std::string line;
  std::smatch m;
  while (std::getline(lines, line)) {
    if (std::regex_search(line, m, kMouse)) {
      events.push_back({m[1].str(), std::stoi(m[2].str()), std::stoi(m[3].str())});
    }
  }
  return events;
}

std::string WriteTemp(const std::string& name, const std::string& text) {
  const std::string path = testing::TempDir() + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

std::string RunSim(simcli::Options options) {
  options.screenWidth = 1280;
  options.screenHeight = 800;
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(simcli::RunSimulation(options, out, err), 0) << err.str();
  return out.str();
}

struct Recording {
  record::RecordSummary summary;
  std::string capture;
};

Recording RecordScenario(const std::string& scenarioText, record::RecordSettings settings) {
  const sim::ScenarioParse parse = sim::ParseScenario(scenarioText);
  EXPECT_TRUE(parse.Ok());
  const sim::ScenarioPlayer player(parse.scenario);
  VirtualClock clock;
  sim::SimBoard board(clock, parse.scenario.settings.board);
  board.SetPenSource(&player);
  std::ostringstream capture;
  const std::uint64_t step = settings.pollMs * 1000ull;
  Recording recording;
  recording.summary = record::RecordBoard(
      board, clock, [&] { clock.Set(clock.NowMicros() + step); }, settings, capture);
  recording.capture = capture.str();
  return recording;
}

bool IsButton(const Event& e) {
  return e.names.find("DOWN") != std::string::npos || e.names.find("UP") != std::string::npos;
}

std::vector<Event> Buttons(const std::vector<Event>& events) {
  std::vector<Event> buttons;
  for (const Event& e : events) {
    if (IsButton(e)) buttons.push_back(e);
  }
  return buttons;
}

// The drag points of the left-button strokes, in order.
std::vector<Event> DragPoints(const std::vector<Event>& events) {
  std::vector<Event> points;
  bool down = false;
  for (const Event& e : events) {
    if (e.names.find("LEFTDOWN") != std::string::npos) down = true;
    if (e.names.find("LEFTUP") != std::string::npos) down = false;
    if (down && e.names == "MOVE|ABSOLUTE") points.push_back(e);
  }
  return points;
}

double DistanceToPath(const Event& p, const std::vector<Event>& path) {
  double best = 1e9;
  for (std::size_t i = 0; i + 1 < path.size(); ++i) {
    const double ax = path[i].x, ay = path[i].y, bx = path[i + 1].x, by = path[i + 1].y;
    const double len2 = (bx - ax) * (bx - ax) + (by - ay) * (by - ay);
    double t = len2 == 0 ? 0 : ((p.x - ax) * (bx - ax) + (p.y - ay) * (by - ay)) / len2;
    t = std::clamp(t, 0.0, 1.0);
    best = std::min(best, std::hypot(p.x - (ax + t * (bx - ax)), p.y - (ay + t * (by - ay))));
  }
  if (path.size() == 1) best = std::hypot(p.x - path[0].x, p.y - path[0].y);
  return best;
}

std::string Describe(const std::vector<Event>& events) {
  std::string text;
  for (const Event& e : events) {
    text += e.names + "@" + std::to_string(e.x) + "," + std::to_string(e.y) + " ";
  }
  return text;
}

TEST(RecordReplay, ACaptureReplaysToTheButtonEventsOfTheDriverReadingTheBoardItself) {
  simcli::Options live;
  const std::string scenario =
      test::ReadWholeFile(RAZ_TEST_DATA_DIR "/scenarios/capture-taps-right-stroke.txt")
          .value_or("");
  ASSERT_FALSE(scenario.empty());
  live.scenarioPath = WriteTemp("record-live.txt", scenario);
  const std::vector<Event> liveEvents = MouseEvents(RunSim(live));

  record::RecordSettings settings;
  settings.seconds = 4;
  const Recording recording = RecordScenario(scenario, settings);
  ASSERT_EQ(recording.summary.outcome, record::RecordOutcome::Recorded);
  simcli::Options replay;
  replay.capturePath = WriteTemp("record-replay.capture", recording.capture);
  replay.framing = 0;
  const std::vector<Event> replayEvents = MouseEvents(RunSim(replay));

  const std::vector<Event> liveButtons = Buttons(liveEvents);
  const std::vector<Event> replayButtons = Buttons(replayEvents);
  ASSERT_FALSE(liveButtons.empty());
  EXPECT_EQ(Describe(replayButtons), Describe(liveButtons));

  const std::vector<Event> liveDrag = DragPoints(liveEvents);
  const std::vector<Event> replayDrag = DragPoints(replayEvents);
  ASSERT_GE(liveDrag.size(), 20u);
  ASSERT_GE(replayDrag.size(), 20u);
  for (const Event& p : replayDrag) {
    EXPECT_LE(DistanceToPath(p, liveDrag), 2.0) << "replayed drag point " << p.x << "," << p.y;
  }
  for (const Event& p : liveDrag) {
    EXPECT_LE(DistanceToPath(p, replayDrag), 2.0) << "live drag point " << p.x << "," << p.y;
  }
}

}  // namespace
}  // namespace raz
