#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "app/window_messages.h"
#include "hosts/headless/headless_host.h"
#include "storage/data_files.h"
#include "storage/settings.h"
#include "support/test_platform.h"

namespace raz {
namespace {

// The switchable captions in the order the switch sets them, the board-settings item last.
std::vector<std::string> SwitchedCaptions(const TForm1& f) {
  return {f.Label13.Caption, f.Label14.Caption, f.Label15.Caption, f.Button3.Caption,
          f.button1.Caption, f.N1.Caption,      f.N2.Caption,      f.N4.Caption,
          f.N3.Caption,      f.N6.Caption,      f.N8.Caption};
}

std::vector<std::string> Expected(const CaptionSet& c) {
  return {c.Label13, c.Label14, c.Label15, c.Button3, c.button1, c.N1,
          c.N2,      c.N4,      c.N3,      c.N6,      c.N8};
}

// Captions the switch never touches, in either language.
void ExpectFixedCaptions(const TForm1& f) {
  EXPECT_EQ(f.langer1.Caption, "语言（language）");
  EXPECT_EQ(f.N7.Caption, "简体中文");
  EXPECT_EQ(f.English1.Caption, "English");
  EXPECT_EQ(f.N5.Caption, "-");
  EXPECT_EQ(f.Edit1.Text, "Rored_Evezed");
  EXPECT_FALSE(f.N7.Checked);
  EXPECT_FALSE(f.English1.Checked);
}

struct ShellRig {
  explicit ShellRig(const std::string& ini = "") {
    if (!ini.empty()) tp.folder.WriteText("VaziZod.ini", ini);
    host.Start();
  }
  std::string Select() {
    return SettingsFile(tp.profile, tp.folder.File("VaziZod.ini"))
        .ReadString(Section::Language, "Select");
  }
  TForm1& form() { return host.form1(); }
  TForm2& dialog() { return host.form2(); }

  test::TestPlatform tp;
  HeadlessHost host{tp.platform, tp.clock};
};

// Select at start-up picks the captions; each switch then sets all of them, dialog included,
// and stores its choice; a restart comes up in the stored language.
TEST(LanguageSwitch, CaptionTableAtStartUpAndAfterEachSwitch) {
  const struct {
    const char* ini;
    const CaptionSet* startup;
  } rows[] = {
      {"", &kChineseCaptions},
      {"[language]\r\nSelect=0\r\n", &kChineseCaptions},
      {"[language]\r\nSelect=1\r\n", &kEnglishCaptions},
      {"[language]\r\nSelect=2\r\n", &kChineseCaptions},
      {"[language]\r\nSelect=3\r\n", &kChineseCaptions},
      {"[language]\r\nSelect=0x1\r\n", &kEnglishCaptions},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string("settings: ") + row.ini);
    ShellRig rig(row.ini);
    const bool english = row.startup == &kEnglishCaptions;
    EXPECT_EQ(SwitchedCaptions(rig.form()), Expected(*row.startup));
    EXPECT_EQ(rig.dialog().RadioButton2.Caption, english ? "Framed 115200" : "分帧 115200");
    ExpectFixedCaptions(rig.form());

    rig.host.Dispatch([&] { rig.form().English1Click(); });
    EXPECT_EQ(SwitchedCaptions(rig.form()), Expected(kEnglishCaptions));
    EXPECT_EQ(rig.form().N1.Caption, "CALIBRATE");
    EXPECT_EQ(rig.dialog().Button1.Caption, "OK");
    EXPECT_EQ(rig.Select(), "1");
    ExpectFixedCaptions(rig.form());
    {
      HeadlessHost restarted(rig.tp.platform, rig.tp.clock);
      restarted.Start();
      EXPECT_EQ(SwitchedCaptions(restarted.form1()), Expected(kEnglishCaptions)) << "restart";
      EXPECT_EQ(restarted.form2().RadioGroup2.Caption, "Board model") << "restart";
    }

    rig.host.Dispatch([&] { rig.form().N7Click(); });
    EXPECT_EQ(SwitchedCaptions(rig.form()), Expected(kChineseCaptions));
    EXPECT_EQ(rig.dialog().Button2.Caption, "取消");
    EXPECT_EQ(rig.Select(), "2");
    ExpectFixedCaptions(rig.form());
    EXPECT_TRUE(rig.host.shownErrors().empty());
  }
}

// N2 reflects the flag; each click switches it, rewrites the flag's four bytes and creates or
// removes the shortcut in the Startup folder (and the legacy one below Programs).
TEST(AutostartSwitch, N2TogglesTheFlagAndTheShortcut) {
  ShellRig rig;
  rig.tp.folder.Write(kAutostartFileName, {0, 0, 0, 0, 0x5A});
  rig.tp.folder.WriteText("Programs/启动/RA_Zazide.lnk", "old");
  const std::string link = "Programs/Startup/RA_Zazide.lnk";
  const struct {
    bool checked;
    std::vector<std::uint8_t> file;
    bool link;
  } clicks[] = {{false, {0, 0, 0, 0, 0x5A}, false},  // design state checked: the first click clears
                {true, {1, 0, 0, 0, 0x5A}, true},
                {false, {0, 0, 0, 0, 0x5A}, false},
                {true, {1, 0, 0, 0, 0x5A}, true}};
  ASSERT_TRUE(rig.form().N2.Checked) << "no server11.txt at start-up: the design state";
  int n = 0;
  for (const auto& click : clicks) {
    rig.host.Dispatch([&] { rig.form().N2Click(); });
    SCOPED_TRACE("click " + std::to_string(++n));
    EXPECT_EQ(rig.form().N2.Checked, click.checked);
    EXPECT_EQ(rig.tp.folder.Read(kAutostartFileName), click.file);
    EXPECT_EQ(rig.tp.folder.Exists(link), click.link);
    EXPECT_FALSE(rig.tp.folder.Exists("Programs/启动/RA_Zazide.lnk"));
  }
  EXPECT_EQ(rig.tp.shell.shortcuts.size(), 2u);
}

// The main window's messages in the order of its window procedure: a client's request is
// answered and goes no further; the tray callback opens the menu on a left-button release only,
// with the window in the foreground first, and then goes on to the default handling.
TEST(MainWindowMessages, DispatchOrderAndTheTrayCallback) {
  const struct {
    const char* row;
    std::uint32_t message;
    std::intptr_t lParam;
    bool cursorKnown;
    bool answered;  // not passed on to the default handling
    bool menu;
    int foreground;
    bool windowShown;
  } rows[] = {
      {"client request", kClientRequestMessage, 0, true, true, false, 0, false},
      {"left button up", kTrayCallbackMessage, TrayMouse::LeftButtonUp, true, false, true, 1,
       false},
      {"no cursor: window shown", kTrayCallbackMessage, TrayMouse::LeftButtonUp, false, false,
       false, 0, true},
      {"left button down", kTrayCallbackMessage, TrayMouse::LeftButtonDown, true, false, false, 0,
       false},
      {"double click", kTrayCallbackMessage, TrayMouse::LeftButtonDoubleClick, true, false, false,
       0, false},
      {"right button up", kTrayCallbackMessage, TrayMouse::RightButtonUp, true, false, false, 0,
       false},
      {"hold message", 0x0400 + 302, 0, true, false, false, 0, false},
      {"another application message", kTrayCallbackMessage + 1, TrayMouse::LeftButtonUp, true,
       false, false, 0, false},
  };
  for (const auto& row : rows) {
    ShellRig rig;
    rig.form().Window.Visible = false;
    rig.tp.shell.cursor = row.cursorKnown ? std::optional<ScreenPoint>({300, 200}) : std::nullopt;
    const auto result = rig.host.Deliver(row.message, 1006, row.lParam);
    SCOPED_TRACE(row.row);
    EXPECT_EQ(result.has_value(), row.answered);
    using Popups = std::vector<HeadlessHost::MenuPopup>;
    EXPECT_EQ(rig.host.popups(), (row.menu ? Popups{{300, 200}} : Popups{}));
    EXPECT_EQ(rig.tp.shell.foregroundCalls, row.foreground);
    EXPECT_EQ(rig.form().Window.Visible, row.windowShown);
  }
}

// The icon is retried while the taskbar is missing (a start at logon can come first), and put
// back after the taskbar is made anew.
TEST(TrayIconRetry, AddedOnALaterWatchTickAndAgainAfterTheTaskbarIsMadeAnew) {
  test::TestPlatform tp;
  tp.shell.SetTrayAvailable(false);
  HeadlessHost host(tp.platform, tp.clock);
  host.Start();
  EXPECT_FALSE(host.state().tray.Added);
  host.RunFor(2'000'000);
  EXPECT_FALSE(host.state().tray.Added) << "still no taskbar";
  tp.shell.SetTrayAvailable(true);
  tp.shell.trayCalls.clear();
  host.RunFor(2'000'000);
  ASSERT_GE(tp.shell.trayCalls.size(), 2u);
  EXPECT_EQ(tp.shell.trayCalls[0].first, TrayOperation::Add);
  EXPECT_TRUE(tp.shell.iconShown);
  EXPECT_TRUE(host.state().tray.Added);

  tp.shell.SetTrayAvailable(true);  // Explorer restarted: the icon is gone
  host.Dispatch([&] { host.form1().TaskbarCreated(); });
  EXPECT_TRUE(tp.shell.iconShown);
  EXPECT_EQ(tp.shell.trayCalls.back().second.tip, "Rored_Evezed");
}

// The dialog opens from the menu in the middle of the screen with the choices last accepted;
// what OK confirms reaches the data files at the next device watch.
TEST(SettingsDialogFromTheMenu, OpensWithTheAcceptedChoicesAndOkReachesTheDataFiles) {
  ShellRig rig;
  rig.tp.folder.Write(kFramingFileName, {0, 0, 0, 0});
  rig.tp.folder.Write(kBoardModelFileName, {1, 0, 0, 0});
  TForm2& dialog = rig.dialog();
  dialog.RadioButton1.Checked = false;  // left changed by an earlier visit closed by its X
  dialog.RadioButton2.Checked = true;
  rig.host.Dispatch([&] { rig.form().N8Click(); });
  EXPECT_TRUE(dialog.Window.Visible);
  EXPECT_EQ(dialog.Window.Left, (1024 - dialog.Window.ClientWidth) / 2);
  EXPECT_EQ(dialog.Window.Top, (768 - dialog.Window.ClientHeight) / 2);
  EXPECT_TRUE(dialog.RadioButton1.Checked) << "FormShow restores the accepted framing";

  dialog.RadioButton1.Checked = false;
  dialog.RadioButton2.Checked = true;
  dialog.RadioGroup2.ItemIndex = 2;
  rig.host.Dispatch([&] { dialog.Button1Click(); });
  EXPECT_FALSE(dialog.Window.Visible);
  rig.host.RunFor(2'000'000);
  EXPECT_EQ(LoadFlag(rig.tp.files, kFramingFileName), 1);
  EXPECT_EQ(LoadFlag(rig.tp.files, kBoardModelFileName), 2);
}

// The dialog shows the stored mapping; OK puts another in force before the next sample (no
// device watch, no new tour) and stores it; anything but 1 is the sector transform.
TEST(SettingsDialogMapping, ShowsTheStoredMappingAndOkPutsTheChoiceInForceAtOnce) {
  const struct {
    const char* ini;
    int shown;
  } rows[] = {{"", 0}, {"[PARAMETERS]\r\nMapping=1\r\n", 1}, {"[PARAMETERS]\r\nMapping=2\r\n", 0}};
  for (const auto& row : rows) {
    ShellRig rig(row.ini);
    TForm2& dialog = rig.dialog();
    const Mapping& inForce = rig.host.state().calibration.MappingInForce;
    SCOPED_TRACE(row.ini);
    EXPECT_EQ(StoredNumber(inForce), row.shown);
    EXPECT_EQ(dialog.RadioGroup3.ItemIndex, row.shown);
    EXPECT_EQ(dialog.RadioGroup3.Items, (std::vector<std::string>{"标准", "梯形精确"}));
    for (const int choice : {1 - row.shown, row.shown}) {
      dialog.RadioGroup3.ItemIndex = choice;
      rig.host.Dispatch([&] { dialog.Button1Click(); });
      EXPECT_EQ(StoredNumber(inForce), choice);
      EXPECT_EQ(SettingsFile(rig.tp.profile, rig.tp.folder.File("VaziZod.ini"))
                    .ReadInteger(Section::Parameters, Key::Mapping, -1),
                choice);
    }
  }
}

}  // namespace
}  // namespace raz
