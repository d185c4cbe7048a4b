#include "pointer/pen_state_machine.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "pen_rig.h"

namespace raz {
namespace {

using test::PenRig;
namespace F = MouseFlags;
using Events = std::vector<MouseEventRecord>;

constexpr std::int32_t kTouch = PenStatusCode::Touch;
constexpr std::int32_t kHover = PenStatusCode::Hover;
constexpr std::int32_t kRight = PenStatusCode::RightButton;
constexpr std::int32_t kNoPen = PenStatusCode::NoPen;

Events Press(std::int32_t x, std::int32_t y) {
  return {PenRig::At(F::Move, x, y), PenRig::At(F::LeftDown, x, y)};
}
Events Release(std::int32_t x, std::int32_t y) {
  return {PenRig::At(F::Move, x, y), PenRig::At(F::LeftUp, x, y)};
}
Events Move(std::int32_t x, std::int32_t y) { return {PenRig::At(F::Move, x, y)}; }
Events Lift(std::int32_t x, std::int32_t y) { return {PenRig::At(F::LeftUp, x, y)}; }
Events RightClick(std::int32_t x, std::int32_t y) {
  return {PenRig::At(F::RightDown, x, y), PenRig::At(F::RightUp, x, y)};
}

struct Step {
  std::int32_t status, x, y;
  Events events;  // what this sample emits
  std::int32_t levelX = 100;
  std::int32_t levelY = 100;
};

struct Scenario {
  const char* name;
  std::vector<Step> steps;
};

void Play(const Scenario& s, const std::function<void(PenRig&)>& setup = {}) {
  PenRig rig;
  if (setup) setup(rig);
  for (std::size_t i = 0; i < s.steps.size(); ++i) {
    const Step& step = s.steps[i];
    rig.Feed(step.status, step.x, step.y, step.levelX, step.levelY);
    EXPECT_EQ(rig.TakeEvents(), step.events) << s.name << ", sample " << i + 1;
  }
}

TEST(PenStateMachine, Transitions_IssueTheirActions) {
  const Scenario scenarios[] = {
      {"the pen starts out hovering: a first no-pen sample releases at the origin",
       {{kNoPen, 7, 7, Release(0, 0)}, {kNoPen, 7, 7, {}}}},
      {"touch, drag, no pen",
       {{kTouch, 100, 100, Press(100, 100)},
        {kTouch, 103, 101, Move(103, 101)},
        {kNoPen, 500, 500, Release(103, 101)}}},
      {"first touch from hover presses", {{kTouch, 100, 100, Press(100, 100)}}},
      {"weak first sample presses nothing but the contact still drags and releases",
       {{kTouch, 100, 100, {}, 35, 100},
        {kTouch, 102, 100, Move(102, 100)},
        {kNoPen, 0, 0, Release(102, 100)}}},
      {"weak Y on the first sample",
       {{kTouch, 100, 100, {}, 100, 35}, {kTouch, 102, 100, Move(102, 100)}}},
      {"touch then hover lifts where the hover is, hover then no pen releases at the touch",
       {{kTouch, 100, 100, Press(100, 100)},
        {kHover, 110, 105, Lift(110, 105)},
        {kHover, 115, 105, Move(115, 105)},
        {kNoPen, 0, 0, Release(100, 100)}}},
      {"right-button pen then touch presses",
       {{kRight, 50, 50, {}}, {kTouch, 60, 60, Press(60, 60)}}},
      {"no pen then hover moves nothing",
       {{kTouch, 10, 10, Press(10, 10)},
        {kNoPen, 0, 0, Release(10, 10)},
        {kHover, 60, 60, {}},
        {kHover, 70, 60, Move(70, 60)}}},
      {"right-button pen then hover or no pen does nothing",
       {{kRight, 50, 50, {}}, {kHover, 60, 60, {}}, {kRight, 50, 50, {}}, {kNoPen, 0, 0, {}}}},
      {"touch then right-button pen: nothing until the fourth right-button sample",
       {{kTouch, 100, 100, Press(100, 100)}, {kRight, 100, 100, {}}}},
  };
  for (const Scenario& s : scenarios) Play(s);
}

TEST(PenStateMachine, UnknownStatus_ChangesNothing) {
  PenRig rig;
  rig.Touch(100, 100);
  rig.TakeEvents();
  const PointerState before = rig.pointer;
  rig.form.Timer3.Enabled = true;
  rig.Feed(0x33, 300, 300);
  EXPECT_TRUE(rig.events().empty());
  EXPECT_EQ(rig.pointer.PrevStatus, before.PrevStatus);
  EXPECT_EQ(rig.pointer.PrevX, before.PrevX);
  EXPECT_TRUE(rig.form.Timer3.Enabled);
}

TEST(PenStateMachine, Drag_FirstTwoMovesRawThenSmoothed) {
  Play({"stroke",
        {{kTouch, 0, 0, Press(0, 0)},
         {kTouch, 10, 10, Move(10, 10)},
         {kTouch, 20, 20, Move(20, 20)},
         {kTouch, 40, 40, Move(27, 27)},
         {kNoPen, 40, 40, Release(27, 27)}}});
}

TEST(PenStateMachine, Drag_SmoothedPositionReplacesTheSampleAndTheReference) {
  PenRig rig;
  for (std::int32_t x : {0, -2, -4, -2}) rig.Touch(x, 0);
  EXPECT_EQ(rig.state->sample.X, -2);  // -2.5 truncated toward zero
  EXPECT_EQ(rig.pointer.PrevX, -2);
  EXPECT_EQ(rig.pointer.SmoothedX, -2.5f);
}

TEST(PenStateMachine, JumpOf150OrLess_IsFollowed) {
  Play({"edge of the jump filter",
        {{kTouch, 100, 100, Press(100, 100)},
         {kTouch, 250, 100, Move(250, 100)},
         {kTouch, 250, 250, Move(250, 250)}}});
}

TEST(PenStateMachine, Jump_IsDroppedUntilThePenComesBackNearTheLastPosition) {
  PenRig rig;
  rig.Touch(100, 100);
  rig.TakeEvents();
  rig.Touch(251, 100);
  rig.Touch(100, 260);
  rig.Touch(240, 260);
  EXPECT_TRUE(rig.events().empty());
  EXPECT_EQ(rig.pointer.PrevX, 100);
  EXPECT_EQ(rig.pointer.PrevY, 100);
  EXPECT_EQ(rig.pointer.HistoryCount, 0);
  rig.Touch(200, 150);
  EXPECT_EQ(rig.TakeEvents(), Move(200, 150));
}

TEST(PenStateMachine, DoublePeak_IsDroppedLikeAJump) {
  for (bool onX : {true, false}) {
    PenRig rig;
    rig.Touch(100, 100);
    rig.TakeEvents();
    (onX ? rig.state->sample.DoublePeakX : rig.state->sample.DoublePeakY) = 1;
    rig.Touch(110, 100);
    EXPECT_TRUE(rig.events().empty()) << (onX ? "X" : "Y");
    EXPECT_EQ(rig.pointer.PrevX, 100) << (onX ? "X" : "Y");
  }
}

TEST(PenStateMachine, RejectedOrLevelOneSample_IsIgnoredWithinAContact) {
  for (int variant = 0; variant < 2; ++variant) {
    PenRig rig;
    rig.Touch(100, 100);
    rig.TakeEvents();
    if (variant == 0) rig.state->sample.SampleRejected = 1;
    rig.Feed(kTouch, 120, 100, 100, variant == 0 ? 100 : 1);
    EXPECT_TRUE(rig.events().empty()) << variant;
    EXPECT_EQ(rig.pointer.PrevX, 100) << variant;
  }
}

TEST(PenStateMachine, RestingPen_IssuesNothingAndKeepsTheInterval) {
  PenRig rig;
  rig.Touch(100, 100);
  rig.Touch(101, 100);
  rig.TakeEvents();
  rig.form.Timer1.Interval = 7;
  const std::int32_t history = rig.pointer.HistoryCount;
  for (int i = 0; i < 3; ++i) rig.Touch(101, 100);
  EXPECT_TRUE(rig.events().empty());
  EXPECT_EQ(rig.form.Timer1.Interval, 7u);
  EXPECT_EQ(rig.pointer.HistoryCount, history);
}

TEST(PenStateMachine, PollInterval_FollowsThePenSpeed) {
  struct Case {
    std::int32_t dx, dy;
    std::uint32_t interval;
  };
  const Case cases[] = {{1, 0, 20},  {3, 3, 20},  {0, 3, 20}, {4, 0, 12},  {0, 4, 12},
                        {7, 7, 12},  {3, 7, 12},  {8, 0, 5},  {0, 8, 5},   {-8, 2, 5},
                        {150, 0, 5}, {-5, -5, 12}};
  for (const Case& c : cases) {
    PenRig rig;
    rig.Touch(500, 500);
    EXPECT_EQ(rig.form.Timer1.Interval, 2u) << "a press leaves the start-up interval";
    rig.Touch(500 + c.dx, 500 + c.dy);
    EXPECT_EQ(rig.form.Timer1.Interval, c.interval) << "move " << c.dx << ", " << c.dy;
  }
}

TEST(PenStateMachine, RightButton_ClicksOnTheFourthSampleThenEveryThirdAtThePreviousPosition) {
  PenRig rig;
  std::vector<int> clicks;
  for (int i = 1; i <= 10; ++i) {
    rig.Right(200 + i, 300);
    const Events events = rig.TakeEvents();
    if (events.empty()) continue;
    clicks.push_back(i);
    EXPECT_EQ(events, RightClick(200 + i - 1, 300)) << "sample " << i;
  }
  EXPECT_EQ(clicks, (std::vector<int>{4, 7, 10}));
}

TEST(PenStateMachine, RightButton_RemainderCarriesIntoTheNextContact) {
  PenRig rig;
  for (int i = 0; i < 3; ++i) rig.Right(200, 300);  // two repeats counted
  rig.NoPen();
  rig.Right(200, 300);
  rig.Right(200, 300);
  EXPECT_EQ(rig.TakeEvents(), RightClick(200, 300));
}

TEST(PenStateMachine, RightButton_WeakSignalDefersTheClick) {
  PenRig rig;
  for (int i = 0; i < 3; ++i) rig.Right(200, 300);
  for (int i = 0; i < 5; ++i) rig.Feed(kRight, 200, 300, 100, 30);
  EXPECT_TRUE(rig.events().empty());
  rig.Right(200, 300);
  EXPECT_EQ(rig.TakeEvents(), RightClick(200, 300));
}

TEST(PenStateMachine, Hover_IgnoresJitterAndFaintSamplesAndReanchorsAfterAJump) {
  Play({"hover",
        {{kTouch, 100, 100, Press(100, 100)},
         {kHover, 100, 100, Lift(100, 100)},
         {kHover, 101, 101, {}},
         {kHover, 102, 100, Move(102, 100)},
         {kHover, 110, 100, {}, 100, 59},
         {kHover, 222, 100, Move(222, 100)},
         {kHover, 343, 100, {}},
         {kHover, 347, 100, Move(347, 100)}}});
}

TEST(PenStateMachine, Calibration_StepsOnSamples6_11_16AndIssuesNoInput) {
  for (bool keyCalibration : {false, true}) {
    PenRig rig;
    std::int32_t& active = keyCalibration ? rig.state->keyCalibration.KeyCalibrationActive
                                          : rig.state->tour.CalibrationActive;
    const std::int32_t& count = keyCalibration ? rig.pointer.KeyCalibrationSampleCount
                                               : rig.pointer.CalibrationSampleCount;
    active = 1;
    std::vector<int> steps;
    for (int i = 1; i <= 17; ++i) {
      rig.Touch(100 + i, 100);
      if (i > 1 && count == 0) steps.push_back(i);
    }
    EXPECT_EQ(steps, (std::vector<int>{6, 11, 16})) << "key calibration " << keyCalibration;
    EXPECT_EQ(count, 1);
    EXPECT_EQ(rig.pointer.PrevX, 117) << "positions are still remembered";
    rig.Hover(0, 0);
    EXPECT_EQ(count, 0) << "a non-touch sample restarts the count";
    rig.NoPen();
    EXPECT_TRUE(rig.events().empty()) << "key calibration " << keyCalibration;
  }
}

TEST(PenStateMachine, Calibration_ContactOfFiveSamplesNeverSteps) {
  PenRig rig;
  rig.state->tour.CalibrationActive = 1;
  for (int i = 1; i <= 5; ++i) rig.Touch(100, 100);
  EXPECT_EQ(rig.pointer.CalibrationSampleCount, 4);
  rig.Right(100, 100);
  EXPECT_EQ(rig.pointer.CalibrationSampleCount, 0);
}

TEST(PenStateMachine, HoldZone_ArmsTimer3AndAnyOtherStatusDisarmsIt) {
  for (std::int32_t zone = 0; zone < 3; ++zone) {
    PenRig rig;
    rig.form.Timer3.Enabled = false;
    rig.Touch(10, 400);
    rig.state->interpolation.InKeyMargin = 1;
    rig.state->interpolation.KeyZoneHit[zone] = 1;
    rig.Touch(10, 400);
    EXPECT_EQ(rig.pointer.KeyHoldPending, 1) << "zone " << zone + 1;
    EXPECT_TRUE(rig.form.Timer3.Enabled) << "zone " << zone + 1;
    rig.Hover(10, 400);
    EXPECT_EQ(rig.pointer.KeyHoldPending, 0) << "zone " << zone + 1;
    EXPECT_FALSE(rig.form.Timer3.Enabled) << "zone " << zone + 1;
  }
}

TEST(PenStateMachine, HoldZone_OutsideTheMarginArmsNothing) {
  PenRig rig;
  rig.form.Timer3.Enabled = false;
  rig.Touch(10, 400);
  rig.state->interpolation.KeyZoneHit[0] = 1;
  rig.Touch(10, 400);
  EXPECT_EQ(rig.pointer.KeyHoldPending, 0);
  EXPECT_FALSE(rig.form.Timer3.Enabled);
}

TEST(PenStateMachine, StuckButton_TouchThenRightButtonReleasesBeforeTheRightClick) {
  PenRig rig;
  rig.Touch(100, 100);
  rig.TakeEvents();
  for (int i = 0; i < 4; ++i) rig.Right(100, 100);
  Events expected{PenRig::At(F::LeftUp, 100, 100)};
  for (const MouseEventRecord& e : RightClick(100, 100)) expected.push_back(e);
  EXPECT_EQ(rig.TakeEvents(), expected);
  EXPECT_FALSE(rig.pointer.LeftButtonDown);
  rig.NoPen();
  EXPECT_TRUE(rig.events().empty()) << "nothing is left to release";
}

TEST(PenStateMachine, StuckButton_ShortRightButtonContactThenNoPenReleases) {
  PenRig rig;
  rig.Touch(100, 100);
  rig.Touch(104, 100);
  rig.TakeEvents();
  rig.Right(300, 300);
  rig.Right(300, 300);
  rig.NoPen();
  EXPECT_EQ(rig.TakeEvents(), Events{PenRig::At(F::LeftUp, 104, 100)});
  EXPECT_FALSE(rig.pointer.LeftButtonDown);
}

TEST(PenStateMachine, StuckButton_CalibrationStartedUnderAPressedPenReleasesAtNoPen) {
  PenRig rig;
  rig.Touch(100, 100);
  rig.TakeEvents();
  rig.state->tour.CalibrationActive = 1;
  rig.Touch(100, 100);
  rig.NoPen();
  EXPECT_EQ(rig.TakeEvents(), Events{PenRig::At(F::LeftUp, 100, 100)});
}

TEST(PenStateMachine, StuckButton_BoardLostUnderThePenReleasesAndTheNextTouchPressesAnew) {
  PenRig rig;
  rig.Touch(100, 100);
  rig.Touch(105, 100);
  rig.TakeEvents();
  ReleaseLeftButton(rig.form);
  EXPECT_EQ(rig.TakeEvents(), Events{PenRig::At(F::LeftUp, 105, 100)});
  rig.Touch(400, 300);
  EXPECT_EQ(rig.TakeEvents(), Press(400, 300));
}

TEST(PenStateMachine, StuckButton_ExitUnderThePenReleases) {
  PenRig rig;
  rig.Touch(100, 100);
  rig.TakeEvents();
  rig.form.N3Click();
  EXPECT_EQ(rig.TakeEvents(), Events{PenRig::At(F::LeftUp, 100, 100)});
  EXPECT_TRUE(rig.form.Window.CloseRequested);
}

}  // namespace
}  // namespace raz
