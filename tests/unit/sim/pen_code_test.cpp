#include "sim/pen_code.h"

#include <gtest/gtest.h>

#include "board/pen_status.h"

namespace raz::sim {
namespace {

constexpr std::int32_t kStrongSignal = 31;

TEST(StatusFromCode, ReadsTheDocumentedBands) {
  struct Row {
    std::uint8_t type;
    std::uint8_t code;
    std::int32_t touchLimit;
    std::int32_t rightCentre;
    std::int32_t status;
  };
  const Row rows[] = {
      {2, 5, 10, 60, Status::Touch},        {2, 20, 10, 60, Status::Hover},
      {2, 28, 10, 60, Status::NoPen},       {2, 40, 10, 60, Status::RightButton},
      {2, 84, 10, 60, Status::RightButton}, {2, 85, 10, 60, Status::NoPen},
      {2, 0, 0, 0, Status::RightButton},    {2, 24, 0, 0, Status::RightButton},
      {2, 25, 0, 0, Status::Hover},         {2, 27, 0, 0, Status::Hover},
      {2, 28, 0, 0, Status::NoPen},         {1, 199, 0, 0, Status::NoPen},
      {1, 200, 0, 0, Status::Touch},        {1, 255, 0, 0, Status::Touch},
      {0, 200, 0, 0, Status::NoPen},        {3, 5, 10, 60, Status::NoPen},
      {0xFE, 20, 10, 60, Status::Hover},  // only the two low bits give the type
  };
  for (const Row& row : rows) {
    const StatusEncoding encoding{BoardKind::Mixed, row.touchLimit, row.rightCentre};
    EXPECT_EQ(StatusFromCode(row.type, row.code, encoding), row.status)
        << "type " << int{row.type} << " code " << int{row.code} << " Pen " << row.touchLimit
        << " PenRight " << row.rightCentre;
  }
}

// The simulator keeps its own reading of the bands so that a fault in the driver's decoder
// shows up as a disagreement instead of being copied.
TEST(StatusFromCode, AgreesWithTheDriversDecoderForEveryCode) {
  const std::pair<std::int32_t, std::int32_t> settings[] = {
      {0, 0}, {10, 60}, {27, 0}, {-5, 300}, {255, 128}, {2147483647, -2147483647 - 1}};
  for (const auto& [touchLimit, rightCentre] : settings) {
    const StatusEncoding encoding{BoardKind::Mixed, touchLimit, rightCentre};
    for (int type = 0; type < 8; ++type) {
      for (int code = 0; code <= 255; ++code) {
        ASSERT_EQ(StatusFromCode(static_cast<std::uint8_t>(type), static_cast<std::uint8_t>(code),
                                 encoding),
                  DecodeStatus(type, code, kStrongSignal, touchLimit, rightCentre))
            << "type " << type << " code " << code << " Pen " << touchLimit << " PenRight "
            << rightCentre;
      }
    }
  }
}

TEST(StatusBytesFor, PicksBytesThatTheDriverReadsAsTheWantedStatus) {
  struct Row {
    BoardKind kind;
    std::int32_t touchLimit;
    std::int32_t rightCentre;
    std::int32_t wanted;
    int expectedType;  // 0 means the wanted status cannot be sent
  };
  const Row rows[] = {
      // With Pen and PenRight at 0 a type-2 board has no touch code: every low code is right.
      {BoardKind::Mixed, 0, 0, Status::Touch, 1},
      {BoardKind::Mixed, 0, 0, Status::Hover, 2},
      {BoardKind::Mixed, 0, 0, Status::RightButton, 2},
      {BoardKind::Mixed, 0, 0, Status::NoPen, 2},
      {BoardKind::TypeTwo, 0, 0, Status::Touch, 0},
      {BoardKind::TypeTwo, 10, 60, Status::Touch, 2},
      {BoardKind::TypeTwo, 10, 60, Status::Hover, 2},
      {BoardKind::TypeTwo, 10, 60, Status::RightButton, 2},
      {BoardKind::TypeTwo, 10, 60, Status::NoPen, 2},
      {BoardKind::TypeOne, 10, 60, Status::Touch, 1},
      {BoardKind::TypeOne, 10, 60, Status::Hover, 0},
      {BoardKind::TypeOne, 10, 60, Status::RightButton, 0},
      {BoardKind::TypeOne, 10, 60, Status::NoPen, 1},
      // The right band swallows the hover band here, so hover cannot be sent on type 2.
      {BoardKind::Mixed, 10, 20, Status::Hover, 0},
      // Every type-2 code means touch: "no pen" falls back to a report of type 0.
      {BoardKind::TypeTwo, 255, 1000, Status::NoPen, -1},
  };
  for (const Row& row : rows) {
    const StatusEncoding encoding{row.kind, row.touchLimit, row.rightCentre};
    const auto bytes = StatusBytesFor(row.wanted, encoding);
    const std::string where = "kind " + std::to_string(static_cast<int>(row.kind)) + " Pen " +
                              std::to_string(row.touchLimit) + " PenRight " +
                              std::to_string(row.rightCentre) + " wanted " +
                              std::to_string(row.wanted);
    if (row.expectedType == 0) {
      EXPECT_FALSE(bytes.has_value()) << where;
      continue;
    }
    ASSERT_TRUE(bytes.has_value()) << where;
    EXPECT_EQ(bytes->status & 3, row.expectedType == -1 ? 0 : row.expectedType) << where;
    EXPECT_EQ(
        DecodeStatus(bytes->status, bytes->penCode, kStrongSignal, row.touchLimit, row.rightCentre),
        row.wanted)
        << where;
  }
}

TEST(StatusBytesFor, ChoosesACodeInsideItsBandNotOnTheEdge) {
  const StatusEncoding encoding{BoardKind::TypeTwo, 10, 60};
  const auto right = StatusBytesFor(Status::RightButton, encoding);
  ASSERT_TRUE(right.has_value());
  // The right band is 35..84: a code of 35 or 84 would flip with a PenRight one off.
  EXPECT_GT(right->penCode, 40);
  EXPECT_LT(right->penCode, 79);
}

}  // namespace
}  // namespace raz::sim
