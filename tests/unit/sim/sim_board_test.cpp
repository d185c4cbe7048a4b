#include "sim/sim_board.h"

#include <gtest/gtest.h>

#include <tuple>

#include "platform/headless/headless_devices.h"

namespace raz::sim {
namespace {

constexpr std::uint64_t kSecond = 1'000'000;

// A board on a virtual clock, opened at time 0.
struct Rig {
  explicit Rig(SimBoardConfig config = {}) : board(clock, config) { Open(); }
  void Open() { EXPECT_EQ(board.OpenDevice(0, handle), SimStatus::Success); }
  VirtualClock clock;
  SimBoard board;
  UsbHandle handle = 0;
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

}  // namespace
}  // namespace raz::sim
