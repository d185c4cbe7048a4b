#include <gtest/gtest.h>

#include <algorithm>

#include "hosts/headless/headless_host.h"
#include "platform/mouse_output.h"
#include "storage/data_files.h"
#include "support/test_platform.h"
#include "unit/board/fake_board_usb.h"

namespace raz {
namespace {

using Calls = std::vector<std::string>;

// The whole driver headless over a scripted board, with both flag files installed.
struct WatchRig {
  explicit WatchRig(bool present, std::int32_t framing = 0) {
    usb.present = present;
    platform.folder.Write(kFramingFileName, {0, 0, 0, 0});
    platform.folder.Write(kBoardModelFileName, {0, 0, 0, 0});
    SaveFlag(platform.files, kFramingFileName, framing);
    host.Start();
  }
  void Tick() { host.RunFor(2'000'000); }  // one Timer2 period
  Calls TakeLinkCalls() { return std::exchange(usb.linkCalls, {}); }
  std::optional<std::int32_t> Flag(const char* name) { return LoadFlag(platform.files, name); }
  TForm1& form() { return host.form1(); }
  LinkState& link() { return host.state().link; }

  test::FakeBoardUsb usb;
  test::TestPlatform platform{&usb};
  HeadlessHost host{platform.platform, platform.clock};
};

// A lost board lets go of a left button the driver holds, once; without a held button the pen
// state is left alone.
TEST(DeviceWatch, BoardIsWatchedFromStartUpThroughAFailedOpenAnUnplugAndAReplug) {
  const struct {
    const char* step;
    bool present, timer1, holdingLeft;
    std::int32_t openResult;
    bool openPending;
    Calls calls;
    UsbHandle link;
    std::ptrdiff_t trayModifies;  // once more when the board answers
  } steps[] = {
      {"absent at start", false, false, false, 0, 1, {}, 0, 1},
      {"attached, open fails", true, false, false, 3, 1, {"open 0"}, 0, 2},
      {"open retried", true, true, false, 0, 0, {"open 0", "rate 101 460800"}, 101, 2},
      {"open: probe only", true, true, false, 0, 0, {}, 101, 2},
      {"unplugged: the handle is kept for the close", false, true, true, 0, 1, {}, 101, 1},
      {"still unplugged", false, true, false, 0, 1, {}, 101, 1},
      // The handle of before the unplug is closed before the board is opened anew.
      {"plugged in again",
       true,
       true,
       false,
       0,
       0,
       {"close 101", "open 0", "rate 102 460800"},
       102,
       2},
  };
  WatchRig rig(false);
  PointerState& pointer = rig.host.state().pointer;
  InjectorState& injector = rig.host.state().injector;
  const auto& tray = rig.platform.shell.trayCalls;
  const auto& mouse = rig.platform.mouse.events;
  for (const auto& step : steps) {
    rig.usb.present = step.present;
    rig.usb.openResult = step.openResult;
    injector.LeftButtonDown = step.holdingLeft;
    pointer.PrevStatus = PenStatus::Touch;
    const auto trayBefore = static_cast<std::ptrdiff_t>(tray.size());
    const auto mouseBefore = static_cast<std::ptrdiff_t>(mouse.size());
    rig.Tick();
    EXPECT_EQ(rig.TakeLinkCalls(), step.calls) << step.step;
    EXPECT_EQ(rig.form().Label2.Caption, step.present ? "ok" : "no") << step.step;
    EXPECT_EQ(std::tuple(rig.link().BoardPresent, rig.link().LinkOpenPending, rig.link().BoardLink,
                         rig.form().Timer1.Enabled),
              std::tuple(step.present, step.openPending, step.link, step.timer1))
        << step.step;
    EXPECT_EQ(std::count_if(tray.begin() + trayBefore, tray.end(),
                            [](const auto& call) { return call.first == TrayOperation::Modify; }),
              step.trayModifies)
        << step.step;
    EXPECT_EQ(std::count_if(mouse.begin() + mouseBefore, mouse.end(),
                            [](const auto& e) { return e.flags & MouseFlags::LeftUp; }),
              step.holdingLeft ? 1 : 0)
        << step.step;
    // A released pen counts as lifted.
    EXPECT_EQ(std::tuple(injector.LeftButtonDown, pointer.PrevStatus),
              std::tuple(false, step.holdingLeft ? PenStatus::NoPen : PenStatus::Touch))
        << step.step;
  }
}

// A stored framing the board cannot have would leave the pen dead: it reads as plain reports.
TEST(DeviceWatch, FramingOutsideZeroAndOneOpensTheBoardForPlainReports) {
  for (std::int32_t framing : {2, 7, -1}) {
    WatchRig rig(true, framing);
    rig.Tick();
    EXPECT_EQ(rig.TakeLinkCalls(), (Calls{"open 0", "rate 101 460800"})) << "framing " << framing;
    EXPECT_EQ(rig.link().ReportFraming, ReportFraming::Plain) << "framing " << framing;
    EXPECT_TRUE(rig.form().Timer1.Enabled) << "framing " << framing;
  }
}

// Confirmed while the board is open, the dialog closes and reopens the link at the rate of the
// framing, changed or not; confirmed while it is absent, the next open uses the new rate.
TEST(DeviceWatch, ConfirmedDialogRewritesBothFilesAndReopensTheLink) {
  const struct {
    bool present, secondFraming;
    int model;
    Calls calls;
  } rows[] = {{true, true, 2, {"close 101", "open 0", "rate 102 115200"}},
              {true, false, 0, {"close 101", "open 0", "rate 102 460800"}},
              {false, true, 1, {}}};
  for (const auto& row : rows) {
    WatchRig rig(row.present);
    rig.Tick();
    rig.TakeLinkCalls();
    // Stale contents show that the files are written again.
    SaveFlag(rig.platform.files, kFramingFileName, 7);
    SaveFlag(rig.platform.files, kBoardModelFileName, 7);
    TForm2& dialog = rig.host.form2();
    dialog.RadioButton1.Checked = !row.secondFraming;
    dialog.RadioButton2.Checked = row.secondFraming;
    dialog.RadioGroup2.ItemIndex = row.model;
    rig.host.Dispatch([&dialog] { dialog.Button1Click(); });
    rig.Tick();
    const auto where = ::testing::Message() << "present " << row.present << " model " << row.model;
    EXPECT_EQ(rig.TakeLinkCalls(), row.calls) << where;
    EXPECT_EQ(StoredNumber(rig.link().ReportFraming), row.secondFraming ? 1 : 0) << where;
    EXPECT_EQ(rig.link().BoardModel, row.model) << where;
    EXPECT_EQ(rig.Flag(kFramingFileName), row.secondFraming ? 1 : 0) << where;
    EXPECT_EQ(rig.Flag(kBoardModelFileName), row.model) << where;
    EXPECT_FALSE(dialog.PendingChoice()) << where;
    rig.usb.present = true;
    rig.Tick();
    EXPECT_EQ(rig.TakeLinkCalls(), (row.present ? Calls{} : Calls{"open 0", "rate 101 115200"}))
        << where << ", next tick";
  }
}

TEST(DeviceWatch, DisplayChangeUpdatesTheScreenUnlessAnAxisReadsZero) {
  WatchRig rig(false);
  const ScreenState& screen = rig.host.state().screen;
  rig.platform.display.Set(1920, 1080);
  rig.Tick();
  EXPECT_EQ(screen.ScreenWidth, 1920);
  // An axis that reads 0 is a display in the middle of a change, not a screen of no size.
  for (const auto& [width, height] : {std::pair{0, 768}, std::pair{1280, 0}, std::pair{0, 0}}) {
    rig.platform.display.Set(width, height);
    rig.Tick();
    EXPECT_EQ(std::pair(screen.ScreenWidth, screen.ScreenHeight), std::pair(1920, 1080));
    EXPECT_FLOAT_EQ(rig.host.state().calibration.Stored.CalibrationScaleX, 1919 * 10.0f / 2940)
        << "the default calibration stays made for the screen";
  }
}

}  // namespace
}  // namespace raz
