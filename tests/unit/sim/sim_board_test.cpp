#include "sim/sim_board.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/headless/headless_host.h"

namespace raz::sim {
namespace {

constexpr std::uint64_t kSecond = 1'000'000;

// A pen and cable given by functions of time.
class FakeSource : public PenSource {
 public:
  std::function<PenState(std::uint64_t)> pen = [](std::uint64_t) { return PenState{}; };
  std::function<LinkCondition(std::uint64_t)> link = [](std::uint64_t) { return LinkCondition{}; };
  PenState PenAt(std::uint64_t micros) const override { return pen(micros); }
  LinkCondition LinkAt(std::uint64_t micros) const override { return link(micros); }
};

class SimBoardTest : public ::testing::Test {
 protected:
  UsbHandle Open(SimBoard& board) {
    UsbHandle handle = 0;
    EXPECT_EQ(board.OpenDevice(0, handle), SimStatus::Success);
    return handle;
  }
  std::vector<std::uint8_t> ReadAll(SimBoard& board, UsbHandle handle) {
    std::uint32_t queued = 0;
    std::uint32_t word = 0;
    EXPECT_EQ(board.QueueStatus(handle, queued, word), SimStatus::Success);
    std::vector<std::uint8_t> bytes(queued);
    std::uint32_t read = 0;
    EXPECT_EQ(board.Read(handle, bytes.data(), queued, read), SimStatus::Success);
    bytes.resize(read);
    return bytes;
  }

  VirtualClock clock;
};

TEST_F(SimBoardTest, QueueFillsAtTheReportRateInTheFramingOfTheLinkRate) {
  struct Row {
    std::uint32_t reportsPerSecond;
    std::uint32_t linkRate;  // 0: the power-on rate
    std::size_t bytesAfterOneSecond;
  };
  const Row rows[] = {
      {200, 0, 200 * 45},
      {200, 460800, 200 * 45},
      {200, 115200, 200 * 47},
      // 115200 bit/s carries at most 245 frames of 470 bits; 460800 bit/s 1024 plain reports.
      {1000, 115200, 245 * 47},
      {2000, 460800, 1024 * 45},
      {50, 115200, 50 * 47},
  };
  for (const Row& row : rows) {
    clock.Set(3 * kSecond);
    SimBoard board(clock, {.reportsPerSecond = row.reportsPerSecond, .queueCapacity = 1 << 20});
    const UsbHandle handle = Open(board);
    if (row.linkRate != 0) {
      EXPECT_EQ(board.SetLinkRate(handle, row.linkRate), SimStatus::Success);
    }
    clock.Set(4 * kSecond);
    EXPECT_EQ(board.QueuedBytes(), row.bytesAfterOneSecond)
        << row.reportsPerSecond << " reports/s at " << row.linkRate;
  }
}

TEST_F(SimBoardTest, EachReportCarriesThePenOfItsOwnReportTime) {
  FakeSource source;
  source.pen = [](std::uint64_t t) {
    return PenState{PenContact::Touch, {30.0 + t / 10000.0, 50.0}, 1.0};
  };
  SimBoard board(clock);
  board.SetPenSource(&source);
  const UsbHandle handle = Open(board);
  clock.Set(50'000);  // reports at 5, 10, ..., 50 ms
  const std::vector<std::uint8_t> bytes = ReadAll(board, handle);
  ASSERT_EQ(bytes.size(), 10u * kPlainReportSize);
  for (std::uint64_t k = 1; k <= 10; ++k) {
    const PlainReport expected = board.model().Report(source.PenAt(k * 5000), k);
    const auto first = bytes.begin() + static_cast<std::ptrdiff_t>((k - 1) * kPlainReportSize);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), first)) << "report " << k;
  }
}

TEST_F(SimBoardTest, FramedLinkSendsWholeFramesBetweenStartAndEndBytes) {
  SimBoard board(clock);
  const UsbHandle handle = Open(board);
  ASSERT_EQ(board.SetLinkRate(handle, kFramedLinkRate), SimStatus::Success);
  EXPECT_TRUE(board.Framed());
  clock.Set(20'000);
  const std::vector<std::uint8_t> bytes = ReadAll(board, handle);
  ASSERT_EQ(bytes.size(), 4 * kFrameSize);
  for (std::size_t frame = 0; frame < 4; ++frame) {
    EXPECT_EQ(bytes[frame * kFrameSize], kFrameStart) << "frame " << frame;
    EXPECT_EQ(bytes[frame * kFrameSize + 45], kReportTail) << "frame " << frame;
    EXPECT_EQ(bytes[frame * kFrameSize + 46], kFrameEnd) << "frame " << frame;
  }
}

TEST_F(SimBoardTest, OnlyTheTwoBoardRatesAreAccepted) {
  SimBoard board(clock);
  const UsbHandle handle = Open(board);
  EXPECT_EQ(board.SetLinkRate(handle, 9600), SimStatus::InvalidParameter);
  EXPECT_EQ(board.LinkRate(), kPlainLinkRate);
  EXPECT_EQ(board.SetLinkRate(handle, kFramedLinkRate), SimStatus::Success);
  EXPECT_EQ(board.SetLinkRate(handle, kPlainLinkRate), SimStatus::Success);
  EXPECT_FALSE(board.Framed());
  EXPECT_EQ(board.SetLinkRate(handle + 1, kFramedLinkRate), SimStatus::InvalidHandle);
}

TEST_F(SimBoardTest, UnpluggedBoardFailsEveryCallAndComesBackWithANewHandle) {
  SimBoard board(clock);
  UsbHandle handle = Open(board);
  ASSERT_EQ(board.SetLinkRate(handle, kFramedLinkRate), SimStatus::Success);
  clock.Set(100'000);
  board.Unplug();

  std::uint32_t count = 7;
  EXPECT_NE(board.ProbeDevices(count), SimStatus::Success);
  EXPECT_EQ(count, 0u);
  UsbHandle again = 0;
  EXPECT_NE(board.OpenDevice(0, again), SimStatus::Success);
  EXPECT_EQ(again, 0u) << "a failed open leaves the handle alone";
  std::uint32_t queued = 0;
  std::uint32_t word = 0;
  EXPECT_NE(board.QueueStatus(handle, queued, word), SimStatus::Success);
  std::uint8_t buffer[8]{};
  std::uint32_t read = 0;
  EXPECT_NE(board.Read(handle, buffer, 8, read), SimStatus::Success);
  EXPECT_EQ(read, 0u);

  board.Plug();
  EXPECT_EQ(board.ProbeDevices(count), SimStatus::Success);
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(board.QueueStatus(handle, queued, word), SimStatus::InvalidHandle);
  const UsbHandle fresh = Open(board);
  EXPECT_NE(fresh, handle);
  EXPECT_EQ(board.QueuedBytes(), 0u) << "nothing sent before the unplug survives it";
  EXPECT_FALSE(board.Framed()) << "the board powers up at its own rate";
}

TEST_F(SimBoardTest, ShortUnplugBetweenTwoPollsStillInvalidatesTheHandle) {
  FakeSource source;
  source.link = [](std::uint64_t t) {
    // Out from 10 ms to 20 ms, back in afterwards.
    const bool plugged = t < 10'000 || t >= 20'000;
    return LinkCondition{plugged, t >= 10'000 ? 1u : 0u, 0};
  };
  SimBoard board(clock);
  board.SetPenSource(&source);
  const UsbHandle handle = Open(board);
  clock.Set(30'000);
  std::uint32_t count = 0;
  EXPECT_EQ(board.ProbeDevices(count), SimStatus::Success);
  std::uint32_t queued = 0;
  std::uint32_t word = 0;
  EXPECT_EQ(board.QueueStatus(handle, queued, word), SimStatus::InvalidHandle);
}

TEST_F(SimBoardTest, FailedReadsDeliverNothingAndKeepTheQueue) {
  SimBoard board(clock);
  const UsbHandle handle = Open(board);
  clock.Set(10'000);
  board.FailNextReads(2);
  std::vector<std::uint8_t> buffer(100, 0xEE);
  for (int attempt = 0; attempt < 2; ++attempt) {
    std::uint32_t read = 99;
    EXPECT_EQ(board.Read(handle, buffer.data(), 90, read), SimStatus::ReadError) << attempt;
    EXPECT_EQ(read, 0u) << attempt;
  }
  EXPECT_EQ(buffer[0], 0xEE) << "a failed read leaves the buffer as it was";
  std::uint32_t read = 0;
  EXPECT_EQ(board.Read(handle, buffer.data(), 90, read), SimStatus::Success);
  EXPECT_EQ(read, 90u);
}

TEST_F(SimBoardTest, ScheduledReadFailuresCountFromTheSource) {
  FakeSource source;
  source.link = [](std::uint64_t t) { return LinkCondition{true, 0, t >= 5'000 ? 1u : 0u}; };
  SimBoard board(clock);
  board.SetPenSource(&source);
  const UsbHandle handle = Open(board);
  std::uint8_t buffer[45];
  std::uint32_t read = 0;
  clock.Set(6'000);
  EXPECT_EQ(board.Read(handle, buffer, 45, read), SimStatus::ReadError);
  EXPECT_EQ(board.Read(handle, buffer, 45, read), SimStatus::Success);
  EXPECT_EQ(read, 45u);
}

TEST_F(SimBoardTest, FullQueueDropsWhatDoesNotFitAndFlagsTheOverrun) {
  SimBoard board(clock, {.queueCapacity = 100});
  const UsbHandle handle = Open(board);
  clock.Set(kSecond);
  std::uint32_t queued = 0;
  std::uint32_t word = 0;
  ASSERT_EQ(board.QueueStatus(handle, queued, word), SimStatus::Success);
  EXPECT_EQ(queued, 100u);
  EXPECT_EQ(word, kQueueReady | kQueueOverrun);
  EXPECT_EQ(board.BytesDropped(), 200u * 45 - 100);
  ASSERT_EQ(board.QueueStatus(handle, queued, word), SimStatus::Success);
  EXPECT_EQ(word, kQueueReady) << "the overrun is reported once";

  // After a drain the next reports arrive whole and aligned.
  std::vector<std::uint8_t> bytes(100);
  std::uint32_t read = 0;
  ASSERT_EQ(board.Read(handle, bytes.data(), 100, read), SimStatus::Success);
  clock.Set(kSecond + 10'000);
  EXPECT_EQ(board.QueuedBytes(), 90u);
}

TEST_F(SimBoardTest, ReadTakesAtMostWhatIsAskedAndLeavesTheRest) {
  SimBoard board(clock);
  const UsbHandle handle = Open(board);
  clock.Set(15'000);
  std::uint8_t buffer[200];
  std::uint32_t read = 0;
  ASSERT_EQ(board.Read(handle, buffer, 50, read), SimStatus::Success);
  EXPECT_EQ(read, 50u);
  EXPECT_EQ(board.QueuedBytes(), 3 * 45 - 50u);
  ASSERT_EQ(board.Read(handle, buffer, 200, read), SimStatus::Success);
  EXPECT_EQ(read, 3 * 45 - 50u);
  EXPECT_EQ(board.Read(handle, nullptr, 10, read), SimStatus::InvalidParameter);
}

TEST_F(SimBoardTest, ClosedBoardSendsNothingAndRefusesItsOldHandle) {
  SimBoard board(clock);
  const UsbHandle handle = Open(board);
  EXPECT_EQ(board.CloseDevice(handle), SimStatus::Success);
  EXPECT_EQ(board.CloseDevice(handle), SimStatus::InvalidHandle);
  clock.Set(kSecond);
  EXPECT_EQ(board.QueuedBytes(), 0u);
  std::uint32_t queued = 0;
  std::uint32_t word = 0;
  EXPECT_EQ(board.QueueStatus(handle, queued, word), SimStatus::InvalidHandle);
}

TEST_F(SimBoardTest, ReopeningRetiresTheEarlierHandle) {
  SimBoard board(clock);
  const UsbHandle first = Open(board);
  const UsbHandle second = Open(board);
  EXPECT_NE(first, second);
  std::uint32_t queued = 0;
  std::uint32_t word = 0;
  EXPECT_EQ(board.QueueStatus(first, queued, word), SimStatus::InvalidHandle);
  EXPECT_EQ(board.QueueStatus(second, queued, word), SimStatus::Success);
}

TEST_F(SimBoardTest, ClockSteppingBackHoldsTheBoardStill) {
  clock.Set(kSecond);
  SimBoard board(clock);
  const UsbHandle handle = Open(board);
  clock.Set(kSecond + 50'000);
  EXPECT_EQ(board.QueuedBytes(), 10u * 45);
  clock.Set(0);
  EXPECT_EQ(board.QueuedBytes(), 10u * 45);
  std::uint32_t count = 0;
  EXPECT_EQ(board.ProbeDevices(count), SimStatus::Success);
  (void)handle;
}

}  // namespace
}  // namespace raz::sim
