#include "board/pen_status.h"

#include <gtest/gtest.h>

#include "board/board_state.h"

namespace raz {
namespace {

struct StatusCase {
  int statusByte;
  int code;
  int previousLevelY;
  int touchLimit;
  int rightCentre;
  int expected;
};

void ExpectStatuses(const std::vector<StatusCase>& cases) {
  for (const StatusCase& c : cases) {
    EXPECT_EQ(DecodeStatus(c.statusByte, c.code, c.previousLevelY, c.touchLimit, c.rightCentre),
              c.expected)
        << "status byte " << c.statusByte << " code " << c.code << " L " << c.previousLevelY
        << " Pen " << c.touchLimit << " PenRight " << c.rightCentre;
  }
}

constexpr int kNone = PenStatusCode::NoPen;
constexpr int kTouch = PenStatusCode::Touch;
constexpr int kHover = PenStatusCode::Hover;
constexpr int kRight = PenStatusCode::RightButton;

TEST(PenStatus, TypeTwoBandsWithTouchLimitTenAndRightCentreSixty) {
  ExpectStatuses({
      {2, 0, 31, 10, 60, kTouch},
      {2, 5, 31, 10, 60, kTouch},
      {2, 10, 31, 10, 60, kTouch},
      {2, 11, 31, 10, 60, kHover},
      {2, 20, 31, 10, 60, kHover},
      {2, 27, 31, 10, 60, kHover},
      {2, 28, 31, 10, 60, kNone},
      {2, 34, 31, 10, 60, kNone},
      {2, 35, 31, 10, 60, kRight},
      {2, 40, 31, 10, 60, kRight},
      {2, 84, 31, 10, 60, kRight},
      {2, 85, 31, 10, 60, kNone},
      {2, 255, 31, 10, 60, kNone},
  });
}

TEST(PenStatus, TypeTwoRightButtonWinsWithDefaults) {
  std::vector<StatusCase> cases;
  for (int code = 0; code <= 24; ++code) cases.push_back({2, code, 31, 0, 0, kRight});
  for (int code = 25; code <= 27; ++code) cases.push_back({2, code, 31, 0, 0, kHover});
  for (int code = 28; code <= 255; ++code) cases.push_back({2, code, 31, 0, 0, kNone});
  ExpectStatuses(cases);
}

TEST(PenStatus, TypeOneTouchesOnlyFromCode200) {
  ExpectStatuses({
      {1, 199, 40, 10, 60, kNone},
      {1, 200, 40, 10, 60, kTouch},
      {1, 255, 40, 10, 60, kTouch},
      {1, 5, 40, 10, 60, kNone},
      {1, 40, 40, 10, 60, kNone},
  });
}

TEST(PenStatus, OnlyTheLowTwoBitsOfTheStatusByteGiveTheType) {
  ExpectStatuses({
      {0xFE, 5, 31, 10, 60, kTouch},
      {0x41, 200, 31, 10, 60, kTouch},
      {0x03, 5, 31, 10, 60, kNone},
      {0x00, 200, 31, 10, 60, kNone},
      {0x04, 5, 31, 10, 60, kNone},
  });
}

TEST(PenStatus, WeakPreviousSignalMeansNoPen) {
  ExpectStatuses({
      {2, 5, 30, 10, 60, kNone},
      {2, 20, 30, 10, 60, kNone},
      {2, 40, 30, 10, 60, kNone},
      {1, 200, 30, 10, 60, kNone},
      {2, 5, 0, 0, 0, kNone},
      {2, 5, -5, 10, 60, kNone},
  });
}

TEST(PenStatus, ExtremeSettingsCompareWithoutOverflow) {
  ExpectStatuses({
      {2, 255, 31, 2147483647, 0, kTouch},
      {2, 20, 31, -2147483647 - 1, 0, kRight},
      {2, 20, 31, 10, 2147483647, kHover},
      {2, 200, 31, 10, -2147483647 - 1, kNone},
  });
}

}  // namespace
}  // namespace raz
