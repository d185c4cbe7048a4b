#include "board/device_connection.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_host.h"
#include "platform/mouse_output.h"
#include "storage/data_files.h"
#include "support/test_platform.h"
#include "unit/board/fake_board_usb.h"

namespace raz {
namespace {

constexpr std::uint64_t kTimer2Period = 2'000'000;

std::vector<std::uint8_t> FlagBytes(std::int32_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  return {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
          static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 24)};
}

// The whole driver headless over a scripted board, with both flag files installed.
struct WatchRig {
  explicit WatchRig(bool present, std::int32_t framing = 0) {
    usb.present = present;
    platform.folder.Write(kFramingFileName, FlagBytes(framing));
    platform.folder.Write(kBoardModelFileName, FlagBytes(0));
    host.Start();
  }
  void Tick() { host.RunFor(kTimer2Period); }
  // The user picks options in the settings dialog and presses OK.
  void ConfirmDialog(bool secondFraming, int model) {
    TForm2& dialog = host.form2();
    dialog.RadioButton1.Checked = !secondFraming;
    dialog.RadioButton2.Checked = secondFraming;
    dialog.RadioGroup2.ItemIndex = model;
    host.Dispatch([&dialog] { dialog.Button1Click(); });
  }
  std::vector<std::string> TakeLinkCalls() { return std::exchange(usb.linkCalls, {}); }
  TForm1& form() { return host.form1(); }
  BoardLinkState& link() { return host.state().link; }

  test::FakeBoardUsb usb;
  test::TestPlatform platform{&usb};
  HeadlessHost host{platform.platform};
};

using Calls = std::vector<std::string>;

TEST(DeviceWatch, AbsentBoardShowsNoAndNeverStartsPolling) {
  WatchRig rig(false);
  for (int tick = 1; tick <= 3; ++tick) {
    rig.Tick();
    EXPECT_EQ(rig.form().Label2.Caption, "no") << "tick " << tick;
    EXPECT_FALSE(rig.form().Timer1.Enabled) << "tick " << tick;
    EXPECT_EQ(rig.link().BoardPresent, 0) << "tick " << tick;
    EXPECT_EQ(rig.link().LinkOpenPending, 1) << "tick " << tick;
  }
  EXPECT_EQ(rig.TakeLinkCalls(), Calls{});
}

TEST(DeviceWatch, AttachedBoardIsOpenedAtTheRateOfItsFraming) {
  const struct {
    std::int32_t framing;
    Calls calls;
  } rows[] = {
      {0, {"open 0", "rate 101 460800"}},
      {1, {"open 0", "rate 101 115200"}},
      {2, {"open 0"}},
      {-1, {"open 0"}},
  };
  for (const auto& row : rows) {
    WatchRig rig(true, row.framing);
    EXPECT_FALSE(rig.form().Timer1.Enabled) << "framing " << row.framing;
    rig.Tick();
    EXPECT_EQ(rig.TakeLinkCalls(), row.calls) << "framing " << row.framing;
    EXPECT_EQ(rig.form().Label2.Caption, "ok") << "framing " << row.framing;
    EXPECT_TRUE(rig.form().Timer1.Enabled) << "framing " << row.framing;
    EXPECT_EQ(rig.link().BoardPresent, 1) << "framing " << row.framing;
    EXPECT_EQ(rig.link().LinkOpenPending, 0) << "framing " << row.framing;
    EXPECT_EQ(rig.link().BoardLink, 101u) << "framing " << row.framing;
    // Once open, later ticks only probe.
    rig.Tick();
    EXPECT_EQ(rig.TakeLinkCalls(), Calls{}) << "framing " << row.framing;
  }
}

TEST(DeviceWatch, FailedOpenIsRetriedAtTheNextTick) {
  WatchRig rig(true);
  rig.usb.openResult = 3;
  rig.Tick();
  EXPECT_EQ(rig.TakeLinkCalls(), Calls{"open 0"});
  EXPECT_EQ(rig.form().Label2.Caption, "ok");
  EXPECT_EQ(rig.link().BoardPresent, 1);
  EXPECT_EQ(rig.link().LinkOpenPending, 1);
  EXPECT_FALSE(rig.form().Timer1.Enabled);

  rig.usb.openResult = 0;
  rig.Tick();
  EXPECT_EQ(rig.TakeLinkCalls(), (Calls{"open 0", "rate 101 460800"}));
  EXPECT_TRUE(rig.form().Timer1.Enabled);
}

TEST(DeviceWatch, UnpluggedBoardIsReopenedWhenItReturns) {
  WatchRig rig(true);
  rig.Tick();
  rig.TakeLinkCalls();

  rig.usb.present = false;
  rig.Tick();
  EXPECT_EQ(rig.form().Label2.Caption, "no");
  EXPECT_EQ(rig.link().LinkOpenPending, 1);
  EXPECT_EQ(rig.link().BoardPresent, 0);
  EXPECT_TRUE(rig.form().Timer1.Enabled);
  EXPECT_EQ(rig.link().BoardLink, 101u);  // neither closed nor cleared
  EXPECT_EQ(rig.TakeLinkCalls(), Calls{});

  rig.usb.present = true;
  rig.Tick();
  EXPECT_EQ(rig.form().Label2.Caption, "ok");
  EXPECT_EQ(rig.TakeLinkCalls(), (Calls{"open 0", "rate 102 460800"}));
  EXPECT_EQ(rig.link().BoardLink, 102u);
  EXPECT_EQ(rig.link().LinkOpenPending, 0);
}

TEST(DeviceWatch, LostBoardLetsGoOfAHeldLeftButton) {
  const struct {
    bool buttonDown;
    std::size_t leftUps;
  } rows[] = {{true, 1}, {false, 0}};
  for (const auto& row : rows) {
    WatchRig rig(true);
    rig.Tick();
    PointerState& pointer = rig.host.state().pointer;
    pointer.LeftButtonDown = row.buttonDown;
    pointer.PrevStatus = PenStatusCode::Touch;
    const std::size_t before = rig.platform.mouse.events.size();
    rig.usb.present = false;
    rig.Tick();
    rig.Tick();  // a second failed probe releases nothing more
    std::size_t leftUps = 0;
    for (std::size_t i = before; i < rig.platform.mouse.events.size(); ++i) {
      if (rig.platform.mouse.events[i].flags & MouseFlags::LeftUp) ++leftUps;
    }
    EXPECT_EQ(leftUps, row.leftUps) << "button down " << row.buttonDown;
    EXPECT_FALSE(pointer.LeftButtonDown) << "button down " << row.buttonDown;
    // Without a held button the pen state is left alone.
    if (!row.buttonDown) {
      EXPECT_EQ(pointer.PrevStatus, PenStatusCode::Touch);
    }
  }
}

TEST(DeviceWatch, ConfirmedDialogReopensTheOpenLinkAndStoresBothChoices) {
  WatchRig rig(true);
  rig.Tick();
  rig.TakeLinkCalls();

  rig.ConfirmDialog(true, 2);
  ASSERT_EQ(rig.host.form2().Label2.Caption, "1");
  ASSERT_EQ(rig.host.form2().Label4.Caption, "1");
  rig.Tick();
  EXPECT_EQ(rig.TakeLinkCalls(), (Calls{"close 101", "open 0", "rate 102 115200"}));
  EXPECT_EQ(rig.link().ReportFraming, 1);
  EXPECT_EQ(rig.link().BoardModel, 2);
  EXPECT_EQ(rig.platform.folder.Read(kFramingFileName), FlagBytes(1));
  EXPECT_EQ(rig.platform.folder.Read(kBoardModelFileName), FlagBytes(2));
  EXPECT_EQ(rig.host.form2().Label2.Caption, "0");
  EXPECT_EQ(rig.host.form2().Label4.Caption, "0");

  // Applied once: the next tick neither reopens nor writes.
  rig.platform.folder.Write(kFramingFileName, FlagBytes(7));
  rig.Tick();
  EXPECT_EQ(rig.TakeLinkCalls(), Calls{});
  EXPECT_EQ(rig.platform.folder.Read(kFramingFileName), FlagBytes(7));
}

TEST(DeviceWatch, UnchangedChoicesStillReopenAndRewrite) {
  WatchRig rig(true);
  rig.Tick();
  rig.TakeLinkCalls();
  // Stale file contents show that the files are written again.
  rig.platform.folder.Write(kFramingFileName, FlagBytes(7));
  rig.platform.folder.Write(kBoardModelFileName, FlagBytes(7));

  rig.ConfirmDialog(false, 0);
  rig.Tick();
  EXPECT_EQ(rig.TakeLinkCalls(), (Calls{"close 101", "open 0", "rate 102 460800"}));
  EXPECT_EQ(rig.platform.folder.Read(kFramingFileName), FlagBytes(0));
  EXPECT_EQ(rig.platform.folder.Read(kBoardModelFileName), FlagBytes(0));
}

TEST(DeviceWatch, DialogConfirmedWhileAbsentTakesEffectAtTheNextOpen) {
  WatchRig rig(false);
  rig.Tick();
  rig.ConfirmDialog(true, 1);
  rig.Tick();
  EXPECT_EQ(rig.TakeLinkCalls(), Calls{});
  EXPECT_EQ(rig.link().ReportFraming, 1);
  EXPECT_EQ(rig.link().BoardModel, 1);
  EXPECT_EQ(rig.platform.folder.Read(kFramingFileName), FlagBytes(1));
  EXPECT_EQ(rig.platform.folder.Read(kBoardModelFileName), FlagBytes(1));
  EXPECT_EQ(rig.host.form2().Label2.Caption, "0");
  EXPECT_EQ(rig.host.form2().Label4.Caption, "0");

  rig.usb.present = true;
  rig.Tick();
  EXPECT_EQ(rig.TakeLinkCalls(), (Calls{"open 0", "rate 101 115200"}));
  EXPECT_TRUE(rig.form().Timer1.Enabled);
}

TEST(DeviceWatch, PendingModelAloneIsStoredWithoutReopening) {
  WatchRig rig(true);
  rig.Tick();
  rig.TakeLinkCalls();
  TForm2& dialog = rig.host.form2();
  dialog.Label4.Caption = "1";
  dialog.Label3.Caption = "2";
  rig.Tick();
  EXPECT_EQ(rig.TakeLinkCalls(), Calls{});
  EXPECT_EQ(rig.link().BoardModel, 2);
  EXPECT_EQ(rig.platform.folder.Read(kBoardModelFileName), FlagBytes(2));

  // An unknown model caption keeps the model but still writes it.
  rig.platform.folder.Write(kBoardModelFileName, FlagBytes(7));
  dialog.Label4.Caption = "1";
  dialog.Label3.Caption = "3";
  rig.Tick();
  EXPECT_EQ(rig.link().BoardModel, 2);
  EXPECT_EQ(rig.platform.folder.Read(kBoardModelFileName), FlagBytes(2));
}

TEST(DeviceWatch, UnknownFramingChoiceKeepsTheFraming) {
  WatchRig rig(true, 1);
  rig.Tick();
  rig.TakeLinkCalls();
  TForm2& dialog = rig.host.form2();
  dialog.Label2.Caption = "1";
  dialog.Label1.Caption = "x";
  rig.Tick();
  EXPECT_EQ(rig.link().ReportFraming, 1);
  EXPECT_EQ(rig.TakeLinkCalls(), (Calls{"close 101", "open 0", "rate 102 115200"}));
}

TEST(DeviceWatch, TrayIconIsRefreshedOnceMoreWhenTheBoardAnswers) {
  const struct {
    bool present;
    std::size_t modifies;
  } rows[] = {{true, 2}, {false, 1}};
  for (const auto& row : rows) {
    WatchRig rig(row.present);
    const std::size_t before = rig.platform.shell.trayCalls.size();
    rig.Tick();
    const auto& calls = rig.platform.shell.trayCalls;
    ASSERT_EQ(calls.size() - before, row.modifies) << "present " << row.present;
    for (std::size_t i = before; i < calls.size(); ++i) {
      EXPECT_EQ(calls[i].first, TrayOperation::Modify) << "present " << row.present;
    }
  }
}

TEST(DeviceWatch, DisplayChangeUpdatesTheMouseScalesUnlessAnAxisReadsZero) {
  WatchRig rig(false);
  rig.platform.display.Set(1920, 1080);
  rig.Tick();
  EXPECT_EQ(rig.host.state().screen.ScreenWidth, 1920);
  EXPECT_FLOAT_EQ(rig.host.state().screen.MouseScaleX, 65535.0f / 1920.0f);
  EXPECT_FLOAT_EQ(rig.host.state().screen.MouseScaleY, 65535.0f / 1080.0f);
  rig.platform.display.Set(0, 768);
  rig.Tick();
  EXPECT_EQ(rig.host.state().screen.ScreenWidth, 0);
  EXPECT_FLOAT_EQ(rig.host.state().screen.MouseScaleY, 65535.0f / 1080.0f);
}

TEST(DeviceWatch, LinkRateFollowsTheFraming) {
  EXPECT_EQ(LinkRateFor(0), 460800u);
  EXPECT_EQ(LinkRateFor(1), 115200u);
  EXPECT_EQ(LinkRateFor(2), std::nullopt);
  EXPECT_EQ(LinkRateFor(-1), std::nullopt);
}

}  // namespace
}  // namespace raz
