#include "pointer/pen_state_machine.h"

#include <gtest/gtest.h>

#include <string>

#include "pen_rig.h"

namespace raz {
namespace {

using test::Events;
using test::PenRig;

Events Press(int x, int y) { return PenRig::At({MouseFlags::Move, MouseFlags::LeftDown}, x, y); }
Events Lift(int x, int y) { return PenRig::At({MouseFlags::LeftUp}, x, y); }

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
    rig.Feed(PenStatus::NoPen, 0, 0);
    EXPECT_EQ(rig.Take(), Lift(105, 100)) << cut;
    rig.context.CalibrationActive = false;
    rig.Touch(400, 300);
    EXPECT_EQ(rig.Take(), Press(400, 300)) << cut << ": the next touch presses anew";
  }
}

}  // namespace
}  // namespace raz
