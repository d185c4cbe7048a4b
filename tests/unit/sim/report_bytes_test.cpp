#include "sim/report_bytes.h"

#include <gtest/gtest.h>

#include <memory>
#include <numeric>

#include "board/report_store.h"

namespace raz::sim {
namespace {

SensorRow Ramp(std::uint8_t first) {
  SensorRow row{};
  std::iota(row.begin(), row.end(), first);
  return row;
}

// Where each byte must land in the driver's report store (slot numbers).
struct SlotExpectation {
  std::size_t slot;
  std::int32_t value;
};

constexpr StatusBytes kStatus{0x02, 0x1A};

const SlotExpectation kSlots[] = {
    {1, 0x02}, {2, 0x1A}, {3, 100},  {13, 110},  {23, 120},
    {24, 200}, {34, 210}, {44, 220}, {45, 0x51},
};

TEST(BuildPlainReport, FillsStoreSlotsOneTo45) {
  const PlainReport report = BuildPlainReport(kStatus, Ramp(100), Ramp(200));
  ReportSlots store{};
  store.fill(-1);
  StorePlainReport(report, store);
  for (const SlotExpectation& row : kSlots) {
    EXPECT_EQ(store[row.slot], row.value) << "slot " << row.slot;
  }
  EXPECT_EQ(store[0], -1) << "a plain report never reaches slot 0";
  EXPECT_EQ(store[46], -1) << "a single plain report stops at slot 45";
}

TEST(FrameReport, FrameByteKLandsInSlotKAndCompletesTheFrame) {
  const ReportFrame frame = FrameReport(BuildPlainReport(kStatus, Ramp(100), Ramp(200)));
  auto buffer = std::make_unique<ReceiveBytes>();
  std::copy(frame.begin(), frame.end(), buffer->begin());
  ReportSlots store{};
  FrameSync sync;
  ASSERT_TRUE(StoreFramedReport(*buffer, frame.size(), sync, store));
  EXPECT_EQ(store[0], 0xFD);
  for (const SlotExpectation& row : kSlots) {
    EXPECT_EQ(store[row.slot], row.value) << "slot " << row.slot;
  }
  EXPECT_EQ(store[46], 0xFE);
}

TEST(FrameReport, IsThePlainReportBetweenStartAndEndBytes) {
  const PlainReport report = BuildPlainReport({0x01, 0xE4}, Ramp(7), Ramp(30));
  const ReportFrame frame = FrameReport(report);
  EXPECT_EQ(frame.front(), kFrameStart);
  EXPECT_EQ(frame.back(), kFrameEnd);
  EXPECT_TRUE(std::equal(report.begin(), report.end(), frame.begin() + 1));
}

}  // namespace
}  // namespace raz::sim
