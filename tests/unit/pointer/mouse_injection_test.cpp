#include "pointer/mouse_injection.h"

#include <gtest/gtest.h>

#include <vector>

#include "pen_rig.h"

namespace raz {
namespace {

using test::kAbs;
using test::PenRig;
namespace F = MouseFlags;

std::vector<std::uint32_t> Flags(const std::vector<MouseEventRecord>& events) {
  std::vector<std::uint32_t> flags;
  for (const MouseEventRecord& e : events) flags.push_back(e.flags);
  return flags;
}

TEST(MouseInjection, ToAbsolute_LandsOnExactlyThePixelTheSystemMapsBack) {
  for (std::int32_t size : {640, 768, 800, 1024, 1080, 1366, 1920, 2160, 3840}) {
    for (std::int32_t pixel = 0; pixel < size; ++pixel) {
      const std::int32_t absolute = ToAbsolute(pixel, size);
      ASSERT_EQ((static_cast<std::int64_t>(absolute) * size) >> 16, pixel)
          << "pixel " << pixel << " of " << size;
    }
  }
}

TEST(MouseInjection, ToAbsolute_ClampsOffScreenPixelsAndIgnoresAnUnknownScreen) {
  struct Case {
    std::int32_t pixel, size, absolute;
  };
  const Case cases[] = {{512, 1024, 32768}, {384, 768, 32768}, {0, 1024, 0},
                        {1023, 1024, 65472}, {-5, 1024, 0},   {1024, 1024, 65535},
                        {5000, 1024, 65535}, {100, 0, 0},      {100, -1, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(ToAbsolute(c.pixel, c.size), c.absolute) << c.pixel << " of " << c.size;
  }
}

TEST(MouseInjection, PressAtTheScreenCentre_MovesAndPressesAtTheCentre) {
  PenRig rig;
  rig.state->sample.LevelY = 100;
  Inject(rig.form, 512, 384, PointerAction::Press);
  const std::vector<MouseEventRecord> expected{{F::Move | kAbs, 32768, 32768},
                                               {F::LeftDown | kAbs, 32768, 32768}};
  EXPECT_EQ(rig.events(), expected);
  EXPECT_TRUE(rig.pointer.LeftButtonDown);
}

struct ActionCase {
  std::int32_t code;
  bool inMargin;
  std::vector<std::uint32_t> flags;  // without the absolute flag
};

TEST(MouseInjection, EveryActionCode_EmitsItsEventsInsideAndOutsideTheMargin) {
  const ActionCase cases[] = {
      {0, false, {}},
      {1, false, {F::Move, F::LeftDown}},
      {1, true, {}},  // the key action runs instead
      {2, false, {F::Move}},
      {2, true, {}},
      {3, false, {F::LeftUp}},
      {3, true, {F::LeftUp}},
      {4, false, {F::Move}},
      {4, true, {}},
      {5, false, {}},
      {5, true, {}},
      {6, false, {F::Move, F::LeftUp}},
      {6, true, {F::Move, F::LeftUp}},
      {7, false, {}},
      {8, false, {F::RightDown, F::RightUp}},
      {8, true, {}},
  };
  for (const ActionCase& c : cases) {
    PenRig rig;
    rig.state->sample.LevelY = 31;
    rig.state->interpolation.InKeyMargin = c.inMargin ? 1 : 0;
    Inject(rig.form, 100, 200, static_cast<PointerAction>(c.code));
    std::vector<std::uint32_t> expected;
    for (std::uint32_t f : c.flags) expected.push_back(f | kAbs);
    EXPECT_EQ(Flags(rig.events()), expected) << "code " << c.code << " margin " << c.inMargin;
    for (const MouseEventRecord& e : rig.events()) {
      EXPECT_EQ(e, PenRig::At(e.flags & ~kAbs, 100, 200)) << "code " << c.code;
    }
  }
}

TEST(MouseInjection, WeakSignal_NoActionHasAnyEffect) {
  for (std::int32_t code = 0; code <= 8; ++code) {
    PenRig rig;
    rig.state->sample.LevelY = 30;
    rig.pointer.LeftButtonDown = true;
    Inject(rig.form, 100, 200, static_cast<PointerAction>(code));
    EXPECT_TRUE(rig.events().empty()) << "code " << code;
    EXPECT_TRUE(rig.pointer.LeftButtonDown) << "code " << code;
  }
}

TEST(MouseInjection, RightClickWhileTheLeftButtonIsHeld_LetsItGoFirst) {
  PenRig rig;
  rig.state->sample.LevelY = 100;
  Inject(rig.form, 300, 200, PointerAction::Press);
  rig.TakeEvents();
  Inject(rig.form, 310, 205, PointerAction::RightClick);
  const std::vector<MouseEventRecord> expected{PenRig::At(F::LeftUp, 310, 205),
                                               PenRig::At(F::RightDown, 310, 205),
                                               PenRig::At(F::RightUp, 310, 205)};
  EXPECT_EQ(rig.events(), expected);
  EXPECT_FALSE(rig.pointer.LeftButtonDown);
}

TEST(MouseInjection, ReleaseLeftButton_LetsGoAtTheLastEventAndForgetsTheContact) {
  PenRig rig;
  rig.state->sample.LevelY = 100;
  Inject(rig.form, 300, 200, PointerAction::Press);
  Inject(rig.form, 320, 210, PointerAction::DragMove);
  rig.TakeEvents();
  rig.pointer.PrevStatus = PenStatusCode::Touch;
  rig.state->sample.LevelY = 0;  // a board that is gone reports nothing
  ReleaseLeftButton(rig.form);
  EXPECT_EQ(rig.events(), std::vector<MouseEventRecord>{PenRig::At(F::LeftUp, 320, 210)});
  EXPECT_FALSE(rig.pointer.LeftButtonDown);
  EXPECT_EQ(rig.pointer.PrevStatus, PenStatusCode::NoPen);

  rig.TakeEvents();
  ReleaseLeftButton(rig.form);
  EXPECT_TRUE(rig.events().empty()) << "a button that is up is not released again";
}

}  // namespace
}  // namespace raz
