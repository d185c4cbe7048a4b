// razazide-record's recording over a simulated board: one line per poll at the period asked
// for, the link rate of the framing, and what it writes when the board is absent, refuses to
// open or goes away.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "hosts/headless/headless_host.h"
#include "recorder.h"
#include "sim/capture_board.h"
#include "sim/scenario_parser.h"
#include "sim/scenario_player.h"
#include "sim/sim_board.h"

namespace raz::record {
namespace {

// Refuses every open, as a board held by another process does.
class HeldBoard : public sim::SimBoard {
 public:
  using SimBoard::SimBoard;
  std::int32_t OpenDevice(std::uint32_t, UsbHandle&) override { return 5; }
};

struct BoardCase {
  const char* name;
  const char* scenario;
  std::int32_t framing;
  bool held;
  RecordOutcome outcome;
  std::optional<std::uint32_t> linkRate;
  std::size_t reportSize;  // bytes of every batch with data (0: no data expected)
  bool failures;           // some polls refused
};

const BoardCase kCases[] = {
    {"plain reports at 460800", "touch 500 400 2s", 0, false, RecordOutcome::Recorded, 460800, 45,
     false},
    {"framed reports at 115200", "touch 500 400 2s", 1, false, RecordOutcome::Recorded, 115200, 47,
     false},
    {"unknown framing sets no rate", "touch 500 400 2s", 2, false, RecordOutcome::Recorded,
     std::nullopt, 45, false},
    {"no pen still sends reports", "lift 2s", 0, false, RecordOutcome::Recorded, 460800, 45, false},
    {"cable out from the start", "unplug 5s", 0, false, RecordOutcome::BoardAbsent, std::nullopt, 0,
     false},
    {"held by another process", "touch 500 400 2s", 0, true, RecordOutcome::OpenRefused,
     std::nullopt, 0, false},
    {"cable out halfway", "touch 500 400 500ms\nunplug 5s", 0, false, RecordOutcome::Recorded,
     460800, 45, true},
};

TEST(RecordBoard, OneLinePerPollWithTheFramingsReportsAndTheRefusalsSaid) {
  for (const BoardCase& c : kCases) {
    const sim::ScenarioParse parse = sim::ParseScenario(c.scenario);
    ASSERT_TRUE(parse.Ok()) << c.name;
    const sim::ScenarioPlayer player(parse.scenario);
    VirtualClock clock;
    HeldBoard held(clock, parse.scenario.settings.board);
    sim::SimBoard free(clock, parse.scenario.settings.board);
    sim::SimBoard& board = c.held ? held : free;
    board.SetPenSource(&player);
    RecordSettings settings;
    settings.seconds = 1;
    settings.pollMs = 4;
    settings.framing = c.framing;
    std::ostringstream capture;
    const RecordSummary summary = RecordBoard(
        board, clock, [&] { clock.Set(clock.NowMicros() + 4000); }, settings, capture);

    EXPECT_EQ(summary.outcome, c.outcome) << c.name;
    if (c.outcome != RecordOutcome::Recorded) {
      EXPECT_NE(summary.status, 0) << c.name;
      EXPECT_EQ(capture.str(), "") << c.name;
      continue;
    }
    EXPECT_EQ(summary.linkRate, c.linkRate) << c.name;
    const sim::CaptureParse parse2 = sim::ParseCapture(capture.str());
    EXPECT_TRUE(parse2.errors.empty()) << c.name;
    EXPECT_EQ(parse2.batches.size(), 250u) << c.name;
    EXPECT_EQ(summary.polls, 250u) << c.name;
    std::size_t withData = 0;
    std::size_t bytes = 0;
    std::vector<std::uint8_t> stream;
    for (const sim::ReadBatch& batch : parse2.batches) {
      if (batch.empty()) continue;
      ++withData;
      bytes += batch.size();
      stream.insert(stream.end(), batch.begin(), batch.end());
      // Plain reports arrive whole; frames arrive as the serial line brings them, cut anywhere.
      if (c.reportSize == 45) {
        EXPECT_EQ(batch.size() % c.reportSize, 0u) << c.name;
      }
    }
    if (c.reportSize == 47) {
      ASSERT_GE(stream.size(), 47u) << c.name;
      for (std::size_t at = 0; at + 47 <= stream.size(); at += 47) {
        EXPECT_EQ(stream[at], 0xFD) << c.name << ", frame at " << at;
        EXPECT_EQ(stream[at + 46], 0xFE) << c.name << ", frame at " << at;
      }
    }
    EXPECT_EQ(summary.pollsWithData, withData) << c.name;
    EXPECT_EQ(summary.bytes, bytes) << c.name;
    EXPECT_GT(withData, 0u) << c.name;
    EXPECT_EQ(summary.failedPolls > 0, c.failures) << c.name;
    if (c.failures) {
      ASSERT_TRUE(summary.firstFailureMicros) << c.name;
      EXPECT_NEAR(static_cast<double>(*summary.firstFailureMicros), 500'000, 4000) << c.name;
      EXPECT_NE(capture.str().find("the library refused"), std::string::npos) << c.name;
    }
    EXPECT_EQ(summary.longestGapMicros, 4000u) << c.name;
  }
}

}  // namespace
}  // namespace raz::record
