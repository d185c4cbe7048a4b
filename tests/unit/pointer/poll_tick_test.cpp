#include "pointer/poll_tick.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/driver_state.h"

namespace raz {
namespace {

struct GateCase {
  const char* name;
  std::int32_t framing;
  std::int32_t rejected;
  std::int32_t levelY;
  std::int32_t frameComplete;
  std::int32_t first;  // report store slot 0
  std::int32_t last;   // report store slot 46
  bool drives;
};

TEST(PollTick, Gate_PlainNeedsASignalFramedNeedsAWholeFrame) {
  const GateCase cases[] = {
      {"plain, strong", 0, 0, 31, 0, 0, 0, true},
      {"plain, at the limit", 0, 0, 30, 1, 0xFD, 0xFE, false},
      {"plain, rejected", 0, 1, 200, 0, 0, 0, false},
      {"framed, whole frame", 1, 0, 0, 1, 0xFD, 0xFE, true},
      {"framed, whole frame, strong", 1, 0, 200, 1, 0xFD, 0xFE, true},
      {"framed, incomplete", 1, 0, 200, 0, 0xFD, 0xFE, false},
      {"framed, frame cut at its start", 1, 0, 200, 1, 0x12, 0xFE, false},
      {"framed, frame cut at its end", 1, 0, 200, 1, 0xFD, 0x12, false},
      {"framed, rejected", 1, 1, 200, 1, 0xFD, 0xFE, false},
      {"unknown framing", 2, 0, 200, 1, 0xFD, 0xFE, false},
  };
  for (const GateCase& c : cases) {
    auto state = std::make_unique<DriverState>();
    state->link.ReportFraming = c.framing;
    state->sample.SampleRejected = c.rejected;
    state->sample.LevelY = c.levelY;
    state->sample.FrameComplete = c.frameComplete;
    state->decoder.ReportStore.front() = c.first;
    state->decoder.ReportStore.back() = c.last;
    EXPECT_EQ(SampleDrivesPen(*state), c.drives) << c.name;
  }
}

}  // namespace
}  // namespace raz
