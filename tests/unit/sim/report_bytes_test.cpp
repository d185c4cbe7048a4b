#include "sim/report_bytes.h"

#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <tuple>

#include "board/report_reader.h"

namespace raz::sim {

// The driver's own store decides where each byte must land: plain byte k in slot k + 1, frame
// byte k in slot k.
TEST(ReportBytes, PlainReportAndFrameFillTheDriversStoreSlots) {
  SensorRow x{}, y{};
  std::iota(x.begin(), x.end(), 100);
  std::iota(y.begin(), y.end(), 200);
  const PlainReport report = BuildPlainReport({0x02, 0x1A}, x, y);
  ReportSlots plain{};
  plain.fill(-1);
  StorePlainReport(report, plain);
  const ReportFrame frame = FrameReport(report);
  ReportSlots framed{};
  FrameCarry carry;
  ASSERT_TRUE(StoreFramedReport(frame, carry, framed));
  const std::pair<std::size_t, std::int32_t> slots[] = {{1, 0x02}, {2, 0x1A}, {3, 100},
                                                        {13, 110}, {23, 120}, {24, 200},
                                                        {34, 210}, {44, 220}, {45, 0x51}};
  for (const auto& [slot, value] : slots) {
    EXPECT_EQ(plain[slot], value) << "plain, slot " << slot;
    EXPECT_EQ(framed[slot], value) << "framed, slot " << slot;
  }
  EXPECT_EQ(std::tuple(plain[0], plain[46], framed[0], framed[46]), std::tuple(-1, -1, 0xFD, 0xFE))
      << "a plain report fills slots 1 to 45 only, a frame 0 to 46";
}

}  // namespace raz::sim
