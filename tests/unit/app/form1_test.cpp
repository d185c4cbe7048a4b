#include "app/form1.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "shell/autostart.h"
#include "storage/data_files.h"
#include "support/test_platform.h"

namespace raz {
namespace {

class StartupTest : public ::testing::Test {
 protected:
  TForm1& Start() {
    form.FormCreate();
    return form;
  }
  void WriteIni(const std::string& text) { tp.folder.WriteText("VaziZod.ini", text); }

  test::TestPlatform tp;
  DriverState state;
  TForm1 form{state, tp.platform};
};

TEST_F(StartupTest, DisplayGivesTheScreenSizeUnlessAResolutionIsZero) {
  Start();
  EXPECT_EQ(state.screen.ScreenWidth, 1024);

  test::TestPlatform p;
  p.display.Set(1920, 0);
  DriverState s;
  TForm1 f(s, p.platform);
  f.FormCreate();
  EXPECT_EQ(s.screen.ScreenWidth, 0) << "a display with an axis at 0 changes nothing";
}

TEST_F(StartupTest, FlagFilesSetTheMenuAndTheHiddenLabels) {
  struct Row {
    std::vector<std::uint8_t> autostart, framing, model;
    bool n2;
    std::int32_t reportFraming;
    const char* label9;
    std::int32_t boardModel;
    const char* label12;
  };
  const Row rows[] = {
      {{0, 0, 0, 0}, {1, 0, 0, 0}, {2, 0, 0, 0}, false, 1, "1", 2, "2"},
      {{1, 0, 0, 0}, {0, 0, 0, 0}, {1, 0, 0, 0}, true, 0, "0", 1, "1"},
      {{5, 0, 0, 0}, {2, 0, 0, 0}, {7, 0, 0, 0}, true, 0, "0", 7, "Label12"},
      {{0, 0, 0, 0}, {0xFF, 0xFF, 0xFF, 0xFF}, {1, 0, 0, 0}, false, 0, "0", 1, "1"},
      {{0, 0}, {1}, {}, true, 0, "0", 0, "0"},
  };
  for (const Row& row : rows) {
    test::TestPlatform p;
    p.folder.Write("server11.txt", row.autostart);
    p.folder.Write("server111.txt", row.framing);
    p.folder.Write("server1111.txt", row.model);
    DriverState s;
    TForm1 f(s, p.platform);
    f.FormCreate();
    SCOPED_TRACE("framing file of " + std::to_string(row.framing.size()) + " bytes");
    EXPECT_EQ(f.N2.Checked, row.n2);
    EXPECT_EQ(StoredNumber(s.link.ReportFraming), row.reportFraming);
    EXPECT_EQ(f.Label9.Caption, row.label9);
    EXPECT_EQ(s.link.BoardModel, row.boardModel);
    EXPECT_EQ(f.Label12.Caption, row.label12);
  }
}

TEST_F(StartupTest, AUsableStoredCalibrationIsKeptButSpansStartAfresh) {
  // A perfect grid from (100, 100) to (900, 700), scales 2 and 3, offsets 12 and -7.
  CalibrationRecord stored{.CalibrationScaleX = 2.0f,
                           .CalibrationScaleY = 3.0f,
                           .ScreenOffsetX = 12,
                           .ScreenOffsetY = -7};
  for (int k = 0; k < 9; ++k) {
    stored.CalibrationPoints[k] = {100.0f + 400.0f * (k % 3), 700.0f - 300.0f * (k / 3)};
  }
  tp.folder.Write("server.txt", EncodeCalibrationRecord(stored, {80, 80, 80, 80}));
  state.interpolation.InterpolationSpan.fill(50);  // learned before a restart of the form
  Start();
  EXPECT_EQ(state.calibration.Stored.CalibrationScaleX, 2.0f);
  EXPECT_EQ(state.calibration.Stored.CalibrationPoints[8].x, 900.0f);
  EXPECT_EQ(state.calibration.Stored.ScreenOffsetX, 12);
  EXPECT_EQ(state.calibration.Stored.ScreenOffsetY, -7);
  EXPECT_EQ(state.interpolation.InterpolationSpan,
            (std::array<std::int32_t, 4>{110, 110, 110, 110}));
}

TEST_F(StartupTest, LeftoverShortcutsAreDeletedAndDataFilesMadeWritable) {
  namespace fs = std::filesystem;
  tp.folder.WriteText("RA_Zazide.lnk", "x");
  tp.folder.WriteText("Programs/Stratup/RA_Zazide.lnk", "x");
  tp.folder.WriteText("server.txt", "");
  fs::permissions(tp.folder.File("server.txt"), fs::perms::owner_read, fs::perm_options::replace);
  Start();
  EXPECT_FALSE(tp.folder.Exists("RA_Zazide.lnk"));
  EXPECT_FALSE(tp.folder.Exists("Programs/Stratup/RA_Zazide.lnk"));
  EXPECT_NE(fs::status(tp.folder.File("server.txt")).permissions() & fs::perms::owner_write,
            fs::perms::none);
}

// An older install left the flag on without the Startup shortcut: start-up creates it, so the
// checked N2 is true at the next logon. The strays still go whatever the flag.
TEST(AutostartAtStartup, AFlagOnGetsItsMissingShortcutAndNothingElseChanges) {
  const std::string link = "Programs/Startup/RA_Zazide.lnk";
  const struct {
    std::uint8_t flag;
    const char* before;  // the Startup shortcut's text, or null when there is none
    bool created;
  } rows[] = {{1, nullptr, true}, {1, "the user's own", false}, {0, nullptr, false}};
  for (const auto& row : rows) {
    test::TestPlatform p;
    p.folder.Write("server11.txt", {row.flag, 0, 0, 0});
    if (row.before != nullptr) p.folder.WriteText(link, row.before);
    p.folder.WriteText("RA_Zazide.lnk", "x");
    p.folder.WriteText("Programs/Stratup/RA_Zazide.lnk", "x");
    DriverState s;
    TForm1 f(s, p.platform);
    f.FormCreate();
    SCOPED_TRACE(std::to_string(row.flag) + (row.before ? " with a shortcut" : " without"));
    EXPECT_EQ(f.N2.Checked, row.flag == 1);
    // The shortcut switching N2 on makes.
    const Shortcut made = AutostartShortcut(p.files, *p.shell.startupFolder + "\\RA_Zazide.lnk");
    EXPECT_EQ(p.shell.shortcuts,
              row.created ? std::vector<Shortcut>{made} : std::vector<Shortcut>{});
    EXPECT_EQ(p.folder.ReadText(link), row.created ? HeadlessShell::ShortcutText(made)
                                                   : std::string(row.before ? row.before : ""));
    EXPECT_FALSE(p.folder.Exists("RA_Zazide.lnk"));
    EXPECT_FALSE(p.folder.Exists("Programs/Stratup/RA_Zazide.lnk"));
  }
}

// The exit lets go of a left button the pen still holds, where its last event was, stops
// polling and closes both windows.
TEST_F(StartupTest, ExitReleasesAHeldButtonAndStopsPolling) {
  Start();
  form.Timer1.Enabled = true;
  state.injector = {.LeftButtonDown = true, .LastEvent = {512, 384}};
  state.pointer.PrevStatus = PenStatus::Touch;
  form.N3Click();
  ASSERT_EQ(tp.mouse.events.size(), 1u);
  EXPECT_EQ(tp.mouse.events[0],
            (MouseEventRecord{MouseFlags::LeftUp | MouseFlags::Absolute, 32768, 32768}));
  EXPECT_FALSE(state.injector.LeftButtonDown);
  EXPECT_EQ(state.pointer.PrevStatus, PenStatus::NoPen) << "the next touch presses anew";
  EXPECT_FALSE(form.Timer1.Enabled);
  EXPECT_FALSE(state.interpolation.SpanTracking);
  EXPECT_TRUE(form.Window.CloseRequested);
}

}  // namespace
}  // namespace raz
