#include "pointer/mouse_injection.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/headless/headless_devices.h"

namespace raz {
namespace {

namespace F = MouseFlags;

TEST(MouseInjection, ToAbsolute_LandsOnExactlyThePixelTheSystemMapsBackAndClampsTheRest) {
  for (std::int32_t size : {640, 768, 800, 1024, 1080, 1366, 1920, 2160, 3840}) {
    for (std::int32_t pixel = 0; pixel < size; ++pixel) {
      ASSERT_EQ((std::int64_t{ToAbsolute(pixel, size)} * size) >> 16, pixel)
          << "pixel " << pixel << " of " << size;
    }
  }
  // Off the screen, and a screen of unknown size: {pixel, size, absolute}.
  const std::int32_t offScreen[][3] = {{-5, 1024, 0}, {1024, 1024, 65535}, {5000, 1024, 65535},
                                       {100, 0, 0},   {100, -1, 0},        {1023, 1024, 65472}};
  for (const auto& [pixel, size, absolute] : offScreen) {
    EXPECT_EQ(ToAbsolute(pixel, size), absolute) << pixel << " of " << size;
  }
}

// In the key margin a press runs the key action instead, moves and right-clicks are
// swallowed, and lifts and releases still let the button go. A right-click moves the cursor
// to the pen first: the button events alone land where the cursor is. Action 5 runs the calibration's
// finish; 0 and 7 do nothing.
TEST(MouseInjection, EveryActionCode_EmitsItsEventsAtTheScreenCentreWhenTheSignalIsStrong) {
  // {action code, in the key margin, event flags without the absolute flag}
  // clang-format off
  const std::tuple<std::int32_t, bool, std::vector<std::uint32_t>> cases[] = {
      {0, false, {}}, {1, false, {F::Move, F::LeftDown}}, {1, true, {}},
      {2, false, {F::Move}}, {2, true, {}}, {3, false, {F::LeftUp}}, {3, true, {F::LeftUp}},
      {4, false, {F::Move}}, {4, true, {}}, {5, false, {}}, {5, true, {}},
      {6, false, {F::Move, F::LeftUp}}, {6, true, {F::Move, F::LeftUp}}, {7, false, {}},
      {8, false, {F::Move, F::RightDown, F::RightUp}}, {8, true, {}},
  };
  // clang-format on
  for (const auto& [code, inMargin, flags] : cases) {
    for (ReportVerdict verdict : {ReportVerdict::DrivesPen, ReportVerdict::SilentFrame}) {
      HeadlessMouseOutput mouse;
      InjectorState injector;
      const InjectOutcome outcome = Inject({static_cast<PointerAction>(code), {512, 384}},
                                           {verdict, inMargin, {1024, 768}}, mouse, injector);
      std::vector<MouseEventRecord> expected;
      for (std::uint32_t f : flags) expected.push_back({f | F::Absolute, 32768, 32768});
      InjectOutcome expectedOutcome = InjectOutcome::Done;
      if (code == 1 && inMargin) expectedOutcome = InjectOutcome::KeyAction;
      if (code == 5) expectedOutcome = InjectOutcome::FinishCalibration;
      if (verdict == ReportVerdict::SilentFrame) {  // a frame without signal injects nothing
        expected.clear();
        expectedOutcome = InjectOutcome::Done;
      }
      const auto where = ::testing::Message()
                         << "code " << code << ", margin " << inMargin << ", silent "
                         << (verdict == ReportVerdict::SilentFrame);
      EXPECT_EQ(mouse.events, expected) << where;
      EXPECT_EQ(outcome, expectedOutcome) << where;
    }
  }
}

}  // namespace
}  // namespace raz
