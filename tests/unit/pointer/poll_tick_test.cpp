#include "pointer/poll_tick.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/driver_state.h"

namespace raz {
namespace {

TEST(PollTick, Gate_PlainNeedsASignalFramedNeedsAWholeFrame) {
  const struct {
    const char* name;
    std::int32_t framing, rejected, level, complete, first, last;  // store slots 0 and 46
    bool drives;
  } cases[] = {
      {"plain, strong", 0, 0, 31, 0, 0, 0, true},
      {"plain, at the limit", 0, 0, 30, 1, 0xFD, 0xFE, false},
      {"plain, rejected", 0, 1, 200, 0, 0, 0, false},
      {"framed, whole frame, no signal", 1, 0, 0, 1, 0xFD, 0xFE, true},
      {"framed, incomplete", 1, 0, 200, 0, 0xFD, 0xFE, false},
      {"framed, frame cut at its start", 1, 0, 200, 1, 0x12, 0xFE, false},
      {"framed, frame cut at its end", 1, 0, 200, 1, 0xFD, 0x12, false},
      {"framed, rejected", 1, 1, 200, 1, 0xFD, 0xFE, false},
      {"unknown framing", 2, 0, 200, 1, 0xFD, 0xFE, false},
  };
  for (const auto& c : cases) {
    auto state = std::make_unique<DriverState>();
    state->link.ReportFraming = c.framing;
    state->sample = {.LevelY = c.level, .SampleRejected = c.rejected, .FrameComplete = c.complete};
    state->decoder.ReportStore.front() = c.first;
    state->decoder.ReportStore.back() = c.last;
    EXPECT_EQ(SampleDrivesPen(*state), c.drives) << c.name;
  }
}

}  // namespace
}  // namespace raz
