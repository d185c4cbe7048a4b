#include "board/report_status.h"

#include <gtest/gtest.h>

#include <climits>

#include "board/board_state.h"

namespace raz {
namespace {

constexpr PenStatus kNone = PenStatus::NoPen;
constexpr PenStatus kTouch = PenStatus::Touch;
constexpr PenStatus kHover = PenStatus::Hover;
constexpr PenStatus kRight = PenStatus::RightButton;

// Each row is a band: every pen code from `first` to `last` gives `expected`. In order: type 2
// with Pen 10 and PenRight 60; both settings at their default 0, where the right-button test
// comes last and wins; type 1, touching from code 200 only; L = 30 or less, no pen whatever the
// code; only the low two bits of the status byte give the type; extreme settings compare
// without overflow.
TEST(DecodeStatus, StatusBands_FollowTheTypeThePenCodeAndThePreviousLevel) {
  const struct {
    int statusByte, previousLevelY, pen, penRight, first, last;
    PenStatus expected;
  } bands[] = {
      {2, 31, 10, 60, 0, 10, kTouch},       {2, 31, 10, 60, 11, 27, kHover},
      {2, 31, 10, 60, 28, 34, kNone},       {2, 31, 10, 60, 35, 84, kRight},
      {2, 31, 10, 60, 85, 255, kNone},      {2, 31, 0, 0, 0, 24, kRight},
      {2, 31, 0, 0, 25, 27, kHover},        {2, 31, 0, 0, 28, 255, kNone},
      {1, 40, 10, 60, 0, 199, kNone},       {1, 40, 10, 60, 200, 255, kTouch},
      {2, 30, 10, 60, 0, 255, kNone},       {1, 30, 10, 60, 0, 255, kNone},
      {2, -5, 0, 0, 0, 255, kNone},         {0xFE, 31, 10, 60, 0, 10, kTouch},
      {0x41, 31, 10, 60, 200, 255, kTouch}, {0x03, 31, 10, 60, 0, 255, kNone},
      {0x00, 31, 10, 60, 0, 255, kNone},    {2, 31, INT_MAX, 0, 25, 255, kTouch},
      {2, 31, INT_MIN, 0, 0, 24, kRight},   {2, 31, 10, INT_MAX, 11, 27, kHover},
      {2, 31, 10, INT_MIN, 28, 255, kNone},
  };
  for (const auto& b : bands) {
    for (int code = b.first; code <= b.last; ++code) {
      EXPECT_EQ(DecodeStatus(b.statusByte, code, b.previousLevelY, {b.pen, b.penRight}), b.expected)
          << "status byte " << b.statusByte << " code " << code << " L " << b.previousLevelY
          << " Pen " << b.pen << " PenRight " << b.penRight;
    }
  }
}

}  // namespace
}  // namespace raz
