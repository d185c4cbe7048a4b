#include "pointer/pen_state_machine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pen_rig.h"

namespace raz {
namespace {

using test::Events;
using test::PenRig;
namespace F = MouseFlags;

constexpr PenStatus kTouch = PenStatus::Touch;
constexpr PenStatus kHover = PenStatus::Hover;
constexpr PenStatus kRight = PenStatus::RightButton;
constexpr PenStatus kNoPen = PenStatus::NoPen;

Events Press(int x, int y) { return PenRig::At({F::Move, F::LeftDown}, x, y); }
Events Release(int x, int y) { return PenRig::At({F::Move, F::LeftUp}, x, y); }
Events Move(int x, int y) { return PenRig::At({F::Move}, x, y); }
Events Lift(int x, int y) { return PenRig::At({F::LeftUp}, x, y); }
Events RightClick(int x, int y) { return PenRig::At({F::Move, F::RightDown, F::RightUp}, x, y); }
Events Then(Events first, const Events& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

struct Step {
  PenStatus status;
  std::int32_t x, y;
  Events events;  // what this sample emits
  std::int32_t levelX = 100, levelY = 100;
  bool PenSample::*fault = nullptr;
};

TEST(PenStateMachine, Scenarios_EmitTheirEventsSampleBySample) {
  const struct {
    const char* name;
    std::vector<Step> steps;
  } scenarios[] = {
      // clang-format off
      {"a weak first sample presses nothing, but drags and releases at the last position",
       {{kTouch, 100, 100, {}, 35, 100}, {kTouch, 102, 100, Move(102, 100)},
        {kNoPen, 500, 500, Release(102, 100)}, {kTouch, 100, 100, {}, 100, 35},
        {kNoPen, 0, 0, Release(100, 100)}, {kTouch, 300, 200, Press(300, 200), 36, 36}}},
      {"touch then hover lifts at the hover; no pen then releases at the last touch",
       {{kTouch, 100, 100, Press(100, 100)}, {kHover, 110, 105, Lift(110, 105)},
        {kHover, 115, 105, Move(115, 105)}, {kNoPen, 0, 0, Release(100, 100)},
        {kHover, 60, 60, {}}, {kHover, 70, 60, Move(70, 60)}}},
      {"two raw drag moves, then smoothed ones that become the reference",
       {{kTouch, 0, 100, Press(0, 100)}, {kTouch, 10, 110, Move(10, 110)},
        {kTouch, 20, 120, Move(20, 120)}, {kTouch, 40, 140, Move(27, 127)},
        {kTouch, 178, 127, {}}, {kNoPen, 9, 9, Release(27, 127)}}},
      {"a jump over 150 is dropped until the pen comes back; an unknown status changes nothing",
       {{kTouch, 100, 100, Press(100, 100)}, {kTouch, 251, 100, {}}, {kTouch, 100, 260, {}},
        {kTouch, 240, 260, {}}, {static_cast<PenStatus>(0x33), 300, 300, {}}, {kTouch, 200, 150, Move(200, 150)}}},
      {"double peaks, rejected samples and LevelY 1 are dropped within a contact",
       {{kTouch, 10, 10, Press(10, 10)}, {kTouch, 12, 10, {}, 100, 1},
        {kTouch, 12, 10, {}, 100, 100, &PenSample::DoublePeakX},
        {kTouch, 12, 10, {}, 100, 100, &PenSample::DoublePeakY},
        {kTouch, 12, 10, {}, 100, 100, &PenSample::SampleRejected},
        {kNoPen, 0, 0, Release(10, 10)}}},
      {"a resting pen emits nothing and adds nothing to the stroke",
       {{kTouch, 10, 10, Press(10, 10)}, {kTouch, 10, 10, {}}, {kTouch, 14, 10, Move(14, 10)},
        {kTouch, 14, 10, {}}, {kTouch, 18, 10, Move(18, 10)}}},
      {"hover ignores jitter and faint samples and re-anchors silently after a jump",
       {{kTouch, 100, 100, Press(100, 100)}, {kHover, 100, 100, Lift(100, 100)},
        {kHover, 101, 101, {}}, {kHover, 102, 100, Move(102, 100)}, {kHover, 110, 100, {}, 100, 59},
        {kHover, 222, 100, Move(222, 100)}, {kHover, 343, 100, {}},
        {kHover, 347, 100, Move(347, 100)}}},
      {"hover drops double peaks and keeps its anchor, so the next clean sample moves",
       {{kTouch, 100, 100, Press(100, 100)}, {kHover, 100, 100, Lift(100, 100)},
        {kHover, 110, 100, {}, 100, 100, &PenSample::DoublePeakX},
        {kHover, 110, 100, {}, 100, 100, &PenSample::DoublePeakY},
        {kHover, 111, 100, Move(111, 100)}, {kHover, 112, 100, {}}}},
      {"the right-button pen clicks on its 4th sample, then every 3rd, at the previous position",
       {{kRight, 1, 3, {}}, {kRight, 2, 3, {}}, {kRight, 3, 3, {}},
        {kRight, 4, 3, RightClick(3, 3)}, {kRight, 5, 3, {}}, {kRight, 6, 3, {}},
        {kRight, 7, 3, RightClick(6, 3)}, {kRight, 8, 3, {}}, {kRight, 9, 3, {}},
        {kRight, 10, 3, RightClick(9, 3)}}},
      {"the right-button count carries into the next contact; a weak signal defers the click",
       {{kRight, 2, 3, {}}, {kRight, 2, 3, {}}, {kRight, 2, 3, {}}, {kNoPen, 2, 3, {}},
        {kRight, 2, 3, {}}, {kRight, 2, 3, {}, 100, 30}, {kRight, 2, 3, RightClick(2, 3)}}},
      {"touch then right-button pen: the button goes up before the click, nothing is left down",
       {{kTouch, 10, 10, Press(10, 10)}, {kRight, 10, 10, {}}, {kRight, 10, 10, {}},
        {kRight, 10, 10, {}},
        {kRight, 10, 10, Then(Lift(10, 10), RightClick(10, 10))}, {kNoPen, 0, 0, {}}}},
      {"touch, then the button too briefly to click: the left button goes up before hover moves",
       {{kTouch, 10, 10, Press(10, 10)}, {kRight, 10, 10, {}}, {kRight, 10, 10, {}},
        {kHover, 10, 10, {}}, {kHover, 30, 10, Then(Lift(10, 10), Move(30, 10))},
        {kHover, 40, 10, Move(40, 10)}}},
      {"touch, then the button too briefly to click: the left button goes up before the next press",
       {{kTouch, 10, 10, Press(10, 10)}, {kRight, 10, 10, {}}, {kTouch, 50, 50,
        Then(Lift(10, 10), Press(50, 50))}, {kNoPen, 0, 0, Release(50, 50)}}},
      {"no touch yet since start-up: no pen releases nothing, hover moves still move",
       {{kNoPen, 0, 0, {}}, {kHover, 100, 100, {}}, {kHover, 150, 100, Move(150, 100)},
        {kNoPen, 0, 0, {}}, {kTouch, 200, 200, Press(200, 200)}, {kNoPen, 0, 0,
        Release(200, 200)}}},
      // clang-format on
  };
  for (const auto& s : scenarios) {
    PenRig rig;
    for (std::size_t i = 0; i < s.steps.size(); ++i) {
      const Step& step = s.steps[i];
      rig.Feed(step.status, step.x, step.y, step.levelX, step.levelY, step.fault);
      EXPECT_EQ(rig.Take(), step.events) << s.name << ", sample " << i + 1;
    }
  }
}

TEST(PenStateMachine, PollInterval_FollowsThePenSpeed) {
  // {dx, dy, interval}: a press leaves the start-up interval, and so does a pen resting after it.
  const std::int32_t cases[][3] = {{0, 0, 2},  {1, 0, 20}, {3, 3, 20}, {0, 3, 20},   {4, 0, 12},
                                   {0, 4, 12}, {7, 7, 12}, {3, 7, 12}, {-5, -5, 12}, {8, 0, 5},
                                   {0, 8, 5},  {-8, 2, 5}, {150, 0, 5}};
  for (const auto& [dx, dy, interval] : cases) {
    PenRig rig;
    rig.Touch(500, 500);
    rig.Touch(500 + dx, 500 + dy);
    EXPECT_EQ(rig.pollInterval, static_cast<std::uint32_t>(interval)) << dx << ", " << dy;
  }
}

// A contact cut short by the board or a calibration must not leave the button down.
TEST(PenStateMachine, StuckButton_InterruptedContactLetsGoWhereTheLastEventWas) {
  for (const std::string cut : {"board lost", "calibration starts"}) {
    PenRig rig;
    rig.Touch(100, 100);
    rig.Touch(105, 100);
    rig.Take();
    if (cut == "board lost") {
      ReleaseLeftButton(PenRig::kScreen, rig.mouse, rig.injector);
      ForgetContact(rig.pointer);
    }
    if (cut == "calibration starts") rig.context.CalibrationActive = true;
    rig.Feed(kNoPen, 0, 0);
    EXPECT_EQ(rig.Take(), Lift(105, 100)) << cut;
    rig.context.CalibrationActive = false;
    rig.Touch(400, 300);
    EXPECT_EQ(rig.Take(), Press(400, 300)) << cut << ": the next touch presses anew";
  }
}

}  // namespace
}  // namespace raz
