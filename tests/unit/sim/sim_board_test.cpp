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

TEST(SimBoard, EachReportOrFrameCarriesThePenOfItsOwnReportTime) {
  const FakeSource source;
  for (const bool framed : {false, true}) {
    Rig rig;
    rig.board.SetPenSource(&source);
    std::vector<std::tuple<std::uint64_t, std::uint64_t, PenState>> told;
    rig.board.onReport = [&](const SentReport& r) {
      told.emplace_back(r.index, r.readableMicros, r.pen);
    };
    ASSERT_EQ(rig.board.SetLinkRate(rig.handle, framed ? kFramedLinkRate : kPlainLinkRate),
              SimStatus::Success);
    std::vector<std::uint8_t> expected;
    decltype(told) expectedTold;
    for (std::uint64_t k = 1; k <= 10; ++k) {  // reports at 5, 10, ..., 50 ms
      const PlainReport report = rig.board.model().Report(source.PenAt(k * 5000), k);
      const ReportFrame frame = FrameReport(report);
      const std::uint8_t* first = framed ? frame.data() : report.data();
      expected.insert(expected.end(), first, first + (framed ? kFrameSize : kPlainReportSize));
      // A frame is readable once its last byte has arrived, 4.08 ms after it was sent.
      expectedTold.emplace_back(k, k * 5000 + (framed ? 4080 : 0), source.PenAt(k * 5000));
    }
    rig.clock.Set(framed ? 54'080 : 50'000);
    EXPECT_EQ(rig.board.QueuedBytes(), expected.size());
    EXPECT_EQ(told, expectedTold) << (framed ? "framed" : "plain");
    rig.clock.Set(0);  // a clock stepping back holds the board still
    EXPECT_EQ(rig.Read(1000), SimStatus::Success);
    EXPECT_EQ(rig.bytes, expected) << (framed ? "framed" : "plain");
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

TEST(SimBoard, UnplugAndCloseRetireTheHandleAndEmptyTheQueue) {
  Rig rig;
  ASSERT_EQ(rig.board.SetLinkRate(rig.handle, kFramedLinkRate), SimStatus::Success);
  rig.clock.Set(100'000);
  rig.board.Unplug();
  std::uint32_t count = 7;
  EXPECT_EQ(rig.board.ProbeDevices(count), SimStatus::DeviceNotFound);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(rig.board.OpenDevice(0, rig.handle), SimStatus::DeviceNotFound);
  EXPECT_EQ(rig.Status(), SimStatus::DeviceNotFound);
  EXPECT_EQ(rig.Read(8), SimStatus::DeviceNotFound);
  rig.board.Plug();
  EXPECT_EQ(rig.board.ProbeDevices(count), SimStatus::Success);
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(rig.Status(), SimStatus::InvalidHandle);
  const UsbHandle old = rig.handle;
  rig.Open();
  EXPECT_NE(rig.handle, old);
  EXPECT_EQ(rig.board.QueuedBytes(), 0u) << "nothing sent before the unplug survives it";
  EXPECT_FALSE(rig.board.Framed()) << "the board powers up at its own rate";
  EXPECT_EQ(rig.board.CloseDevice(rig.handle), SimStatus::Success);
  EXPECT_EQ(rig.board.CloseDevice(rig.handle), SimStatus::InvalidHandle);
  rig.clock.Set(kSecond);
  EXPECT_EQ(rig.board.QueuedBytes(), 0u) << "a closed board sends nothing";
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

TEST(SimBoard, FullQueueDropsWhatDoesNotFitAndFlagsTheOverrunOnce) {
  Rig rig({.queueCapacity = 100});
  rig.clock.Set(kSecond);
  ASSERT_EQ(rig.Status(), SimStatus::Success);
  EXPECT_EQ(std::tuple(rig.queued, rig.word, rig.board.BytesDropped()),
            std::tuple(100u, kQueueReady | kQueueOverrun, 200u * 45 - 100));
  ASSERT_EQ(rig.Status(), SimStatus::Success);
  EXPECT_EQ(rig.word, kQueueReady) << "the overrun is reported once";
  EXPECT_EQ(rig.Read(60), SimStatus::Success);
  EXPECT_EQ(rig.Read(200), SimStatus::Success);
  EXPECT_EQ(rig.bytes.size(), 40u) << "a read takes at most what is asked, then the rest";
  rig.clock.Set(kSecond + 10'000);
  EXPECT_EQ(rig.board.QueuedBytes(), 90u) << "after a drain the next reports arrive whole";
}

}  // namespace
}  // namespace raz::sim
