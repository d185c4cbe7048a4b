// Every pen scenario under tests/data, run through the whole driver headless over the simulated
// board, must give the event log kept for it under tests/data/golden/, byte for byte. The logs
// were not checked by hand: they pin what the driver does today, so that moving code around
// cannot change a single event unnoticed. A change that alters the driver's behaviour on
// purpose rewrites them,
//
//   RAZ_UPDATE_GOLDEN=1 ctest --preset native -R Golden
//
// and the diff of tests/data/golden/ goes into the same commit, to be read like code. The long
// scenarios under scenarios/generated/ come from tools/scenario_gen/generate_scenarios.py.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "options.h"
#include "run.h"
#include "support/test_platform.h"

namespace raz {
namespace {

namespace fs = std::filesystem;

const fs::path kData = RAZ_TEST_DATA_DIR;

struct GoldenRun {
  const char* scenario;  // under tests/data
  std::optional<int> framing;
  std::optional<int> mapping = std::nullopt;
  std::optional<int> penResponse = std::nullopt;  // PenResponse in VaziZod.ini
};

const GoldenRun kRuns[] = {
    {"scenarios/demo-word.txt", std::nullopt},
    {"scenarios/calibration-tour.txt", std::nullopt},
    {"scenarios/wine-stroke.txt", std::nullopt},
    {"scenarios/wine-calibration.txt", std::nullopt},
    {"scenarios/wine-unplug.txt", std::nullopt},
    {"scenarios/wine-lesson.txt", std::nullopt},
    {"scenarios/capture-taps-right-stroke.txt", std::nullopt},
    {"scenarios/pen-levels.txt", std::nullopt},
    {"scenarios/calibration-ends.txt", std::nullopt},
    {"scenarios/board-screen.txt", std::nullopt},
    {"scenarios/wine-board-screen.txt", std::nullopt},
    {"scenarios/wine-keystone.txt", std::nullopt, 1},
    {"captures/stroke-scenario.txt", std::nullopt},
    {"scenarios/generated/random-pen.txt", std::nullopt},
    {"scenarios/generated/link-trouble.txt", std::nullopt},
    {"scenarios/generated/framed-link.txt", 1},
    {"scenarios/generated/rotated-keystone.txt", std::nullopt},
    {"scenarios/responsive-pen.txt", std::nullopt, std::nullopt, 1},
};

void PrintTo(const GoldenRun& run, std::ostream* os) { *os << run.scenario; }

fs::path GoldenPath(const GoldenRun& run) {
  return kData / "golden" / fs::path(run.scenario).replace_extension(".jsonl");
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Where two logs part, for a failure message that can be acted on without a diff tool.
std::string FirstDifference(const std::string& golden, const std::string& now) {
  const std::vector<std::string> a = Lines(golden);
  const std::vector<std::string> b = Lines(now);
  std::size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  std::ostringstream text;
  text << "first difference at line " << i + 1
       << "\n  golden: " << (i < a.size() ? a[i] : "(end of log)")
       << "\n  now:    " << (i < b.size() ? b[i] : "(end of log)") << "\n(" << a.size()
       << " lines golden, " << b.size() << " now)";
  if (a.size() == b.size() && i == a.size()) text << "; the logs differ only in line ends";
  return text.str();
}

struct Outcome {
  int exitCode = 0;
  std::string events;
  std::string summary;
};

Outcome Simulate(const GoldenRun& run) {
  simcli::Options options;
  options.scenarioPath = (kData / run.scenario).string();
  options.framing = run.framing;
  options.mapping = run.mapping;
  options.penResponse = run.penResponse;
  std::ostringstream out;
  std::ostringstream err;
  Outcome outcome;
  outcome.exitCode = simcli::RunSimulation(options, out, err);
  outcome.events = out.str();
  outcome.summary = err.str();
  return outcome;
}

class GoldenLog : public testing::TestWithParam<GoldenRun> {};

TEST_P(GoldenLog, ScenarioGivesItsGoldenEventLog) {
  const GoldenRun& run = GetParam();
  const Outcome outcome = Simulate(run);
  ASSERT_EQ(outcome.exitCode, 0) << outcome.summary;
  EXPECT_EQ(outcome.summary.find("shown to the user"), std::string::npos) << outcome.summary;

  const fs::path golden = GoldenPath(run);
  const char* update = std::getenv("RAZ_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    // A log that a second run would not repeat must never become golden.
    const Outcome again = Simulate(run);
    ASSERT_EQ(again.events, outcome.events) << "two runs of the same scenario differ; "
                                            << FirstDifference(outcome.events, again.events);
    fs::create_directories(golden.parent_path());
    std::ofstream(golden, std::ios::binary | std::ios::trunc) << outcome.events;
    GTEST_SKIP() << "rewrote " << golden.string();
  }
  const std::optional<std::string> expected = test::ReadWholeFile(golden);
  ASSERT_TRUE(expected.has_value())
      << golden.string() << " is missing; RAZ_UPDATE_GOLDEN=1 writes it";
  EXPECT_TRUE(*expected == outcome.events)
      << run.scenario << " no longer gives " << golden.string() << "\n"
      << FirstDifference(*expected, outcome.events);
}

std::string RunName(const testing::TestParamInfo<GoldenRun>& info) {
  std::string name = fs::path(info.param.scenario).replace_extension().string();
  std::replace_if(
      name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); },
      '_');
  return name;
}

INSTANTIATE_TEST_SUITE_P(Scenarios, GoldenLog, testing::ValuesIn(kRuns), RunName);

// A scenario added without a golden run, or a golden log whose scenario is gone, would
// otherwise go unnoticed.
TEST(GoldenLogFiles, EveryScenarioHasAGoldenRunAndEveryGoldenLogAScenario) {
  std::vector<std::string> listed;
  for (const GoldenRun& run : kRuns) listed.push_back(run.scenario);
  for (const auto& entry : fs::recursive_directory_iterator(kData / "scenarios")) {
    if (entry.path().extension() != ".txt") continue;
    const std::string scenario = fs::relative(entry.path(), kData).generic_string();
    EXPECT_TRUE(std::find(listed.begin(), listed.end(), scenario) != listed.end())
        << scenario << " has no golden run";
  }
  std::vector<fs::path> goldens;
  for (const GoldenRun& run : kRuns) goldens.push_back(GoldenPath(run));
  for (const auto& entry : fs::recursive_directory_iterator(kData / "golden")) {
    if (!entry.is_regular_file()) continue;
    EXPECT_TRUE(std::find(goldens.begin(), goldens.end(), entry.path()) != goldens.end())
        << entry.path().string() << " belongs to no golden run";
  }
}

}  // namespace
}  // namespace raz
