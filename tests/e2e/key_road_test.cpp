// The margin keys, headless end to end: after a key calibration every icon of both margins is
// tapped with a client registered, and the first three are held.
#include <gtest/gtest.h>

#include <sstream>

#include "scenario_rig.h"
#include "vkeys/key_actions.h"

namespace raz {
namespace {

constexpr WindowHandle kClient = 4660;
constexpr WindowHandle kHoldWindow = 0x4242;

std::string Scenario() {
  std::ostringstream text;
  text << "screen 1024 768\nprojection 86 71 96 118 1 0.03\nwait 1s\nmenu N6\nkeycalibrate\n"
       << "wait 300ms\nclient 101 " << kClient << "\n";
  for (const char* side : {"left", "right"}) {
    // The first icon starts the screen calibration; Esc ends it again.
    text << "tapkey " << side << " 1\nmenu Esc\nwait 100ms\n";
    for (int icon = 2; icon <= 9; ++icon) text << "tapkey " << side << ' ' << icon << '\n';
  }
  text << "tapkey left 3 3200ms\n"   // held: the tap's command, then the hold message
       << "tapkey left 3 1500ms\n"   // lifted early: the command only
       << "tapkey left 4 3200ms\n";  // the fourth key has no hold
  return text.str();
}

struct Caption {
  const char* className;
  const char* caption;
};

class KeyRoad : public ::testing::TestWithParam<Caption> {};

TEST_P(KeyRoad, EveryIconPostsItsCommandAndTheThirdHeldPostsTheHoldMessage) {
  const Caption& target = GetParam();
  test::ScenarioRig rig(Scenario());
  rig.platform().folder.WriteText("VaziZod.ini", std::string("[PARAMETERS]\r\nAPPClassName=") +
                                                     target.className +
                                                     "\r\nAPPCaption=" + target.caption + "\r\n");
  rig.platform().messenger.windows[{target.className, target.caption}] = kHoldWindow;
  int toursStarted = 0;
  bool touring = false;
  rig.host().afterHandler = [&] {
    const bool now = rig.host().state().calibration.Tour.CalibrationActive;
    if (now && !touring) ++toursStarted;
    touring = now;
  };
  rig.Run(4'000'000);

  EXPECT_EQ(toursStarted, 2) << "the first icon of each margin starts the calibration";
  EXPECT_FALSE(rig.host().state().calibration.Tour.CalibrationActive);
  std::vector<std::uintptr_t> commands;
  std::vector<PostedMessage> holds;
  for (const PostedMessage& m : rig.platform().messenger.posted) {
    if (m.message == kKeyActionMessage) {
      EXPECT_EQ(m.window, kClient);
      EXPECT_EQ(m.lParam, 0);
      commands.push_back(m.wParam);
    } else {
      holds.push_back(m);
    }
  }
  const std::vector<std::uintptr_t> icons{2001, 2006, 2014, 2004, 2013, 2003, 2002, 2000};
  std::vector<std::uintptr_t> expected = icons;
  expected.insert(expected.end(), icons.begin(), icons.end());
  expected.insert(expected.end(), {2006, 2006, 2014});
  EXPECT_EQ(commands, expected);
  ASSERT_EQ(holds.size(), 1u) << "only the third icon held for 3.2 s";
  EXPECT_EQ(holds[0], (PostedMessage{kHoldWindow, kHoldKeyMessage, 2, 5000}));
}

INSTANTIATE_TEST_SUITE_P(HoldTargets, KeyRoad,
                         ::testing::Values(Caption{"TBoardTools", "Board tools"},
                                           Caption{"TBoardTools", "白板工具 — 第二版"}),
                         [](const auto& info) { return info.index == 0 ? "Latin" : "Chinese"; });

}  // namespace
}  // namespace raz
