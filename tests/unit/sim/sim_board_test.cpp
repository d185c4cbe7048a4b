#include "sim/sim_board.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "hosts/headless/headless_host.h"

namespace raz::sim {
namespace {

constexpr std::uint64_t kSecond = 1'000'000;

// A pen moving right by a cell every 10 ms. With cable events: one read failure from 5 ms and
// the cable out from 10 to 20 ms.
struct FakeSource : PenSource {
  bool cableEvents = false;
  PenState PenAt(std::uint64_t t) const override {
    return {PenContact::Touch, {30.0 + t / 10000.0, 50.0}, 1.0};
  }
  LinkCondition LinkAt(std::uint64_t t) const override {
    if (!cableEvents) return {};
    return {t < 10'000 || t >= 20'000, t >= 10'000 ? 1u : 0u, t >= 5'000 ? 1u : 0u};
  }
};

// A board on a virtual clock, opened at time 0.
struct Rig {
  explicit Rig(SimBoardConfig config = {}) : board(clock, config) { Open(); }
  void Open() { EXPECT_EQ(board.OpenDevice(0, handle), SimStatus::Success); }
  std::int32_t Status() { return board.QueueStatus(handle, queued, word); }
  std::int32_t Read(std::uint32_t count) {
    std::uint32_t read = 0;
    bytes.resize(count);
    const std::int32_t status = board.Read(handle, bytes.data(), count, read);
    bytes.resize(read);
    return status;
  }
  VirtualClock clock;
  SimBoard board;
  UsbHandle handle = 0;
  std::uint32_t queued = 0, word = 0;
  std::vector<std::uint8_t> bytes;
};

TEST(SimBoard, QueueFillsAtTheReportRateInTheFramingOfTheLinkRate) {
  // 115200 bit/s carries at most 245 frames of 470 bits; 460800 bit/s 1024 plain reports.
  const std::tuple<std::uint32_t, std::uint32_t, std::int32_t, std::size_t> rows[] = {
      {200, kPlainLinkRate, SimStatus::Success, 200 * 45},
      // A frame takes 4.08 ms on the line: the one sent at 1 s has not arrived yet.
      {200, kFramedLinkRate, SimStatus::Success, 199 * 47},
      {1000, kFramedLinkRate, SimStatus::Success, 244 * 47},
      {2000, kPlainLinkRate, SimStatus::Success, 1024 * 45},
      {200, 9600, SimStatus::InvalidParameter, 200 * 45}};
  for (const auto& [reportsPerSecond, linkRate, status, bytesAfterOneSecond] : rows) {
    Rig rig({.reportsPerSecond = reportsPerSecond, .queueCapacity = 1 << 20});
    EXPECT_EQ(rig.board.SetLinkRate(rig.handle, linkRate), status) << linkRate;
    rig.clock.Set(kSecond);
    EXPECT_EQ(rig.board.QueuedBytes(), bytesAfterOneSecond)
        << reportsPerSecond << "/s at " << linkRate;
  }
}

// On the slow link a frame arrives byte by byte at 11,520 bytes a second, so a read gets
// whatever part of a frame has arrived; a short read leaves the rest queued.
TEST(SimBoard, FramesArriveByteByByteAndShortReadsLeaveTheRestQueued) {
  Rig rig;
  ASSERT_EQ(rig.board.SetLinkRate(rig.handle, kFramedLinkRate), SimStatus::Success);
  // {time in microseconds after the first frame was sent at 5 ms, bytes arrived}
  const std::pair<std::uint64_t, std::size_t> rows[] = {
      {0, 0}, {86, 0}, {87, 1}, {1000, 11}, {2000, 23}, {4079, 46}, {4080, 47}, {5000, 47}};
  for (const auto& [after, arrived] : rows) {
    rig.clock.Set(5000 + after);
    EXPECT_EQ(rig.board.QueuedBytes(), arrived) << after << " us after the frame was sent";
  }
  struct Source : PenSource {
    PenState PenAt(std::uint64_t) const override { return {}; }
    LinkCondition LinkAt(std::uint64_t t) const override {
      return {.shortReads = t >= 11'000 ? 2u : 0u};
    }
  } shortReads;
  rig.board.SetPenSource(&shortReads);
  rig.clock.Set(12'000);
  ASSERT_EQ(rig.Status(), SimStatus::Success);
  const std::uint32_t queued = rig.queued;
  ASSERT_EQ(rig.Read(queued), SimStatus::Success);
  EXPECT_EQ(rig.bytes.size(), queued / 2);
  ASSERT_EQ(rig.Read(1000), SimStatus::Success);
  EXPECT_EQ(rig.bytes.size(), (queued - queued / 2) / 2) << "the second short read";
  rig.clock.Set(13'000);
  ASSERT_EQ(rig.Status(), SimStatus::Success);
  ASSERT_EQ(rig.Read(rig.queued), SimStatus::Success);
  EXPECT_EQ(rig.bytes.size(), rig.queued) << "short reads used up";
}

TEST(SimBoard, ReadFailuresAndShortUnplugsBetweenTwoPollsAreNotLost) {
  FakeSource source;
  source.cableEvents = true;
  Rig rig;
  rig.board.SetPenSource(&source);
  rig.board.FailNextReads(1);
  rig.clock.Set(9'000);
  for (int attempt = 0; attempt < 2; ++attempt) {  // one failure by hand, one from the source
    EXPECT_EQ(rig.Read(1), SimStatus::ReadError) << attempt;
    EXPECT_TRUE(rig.bytes.empty()) << attempt;
  }
  EXPECT_EQ(rig.Read(100), SimStatus::Success);
  EXPECT_EQ(rig.bytes.size(), 45u) << "failed reads keep the queue";
  rig.clock.Set(30'000);  // plugged again, but the short unplug retired the handle
  EXPECT_EQ(rig.Status(), SimStatus::InvalidHandle);
}

}  // namespace
}  // namespace raz::sim
