// Start-up over program files that are not plain files. A FIFO in place of VaziZod.ini or a
// data file once blocked the start-up for ever; it must read as missing and refuse writes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/form1.h"
#include "app/form2.h"
#include "storage/data_files.h"
#include "storage/settings.h"
#include "support/test_platform.h"

namespace raz {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProgramFiles[] = {kSettingsFileName, kCalibrationFileName,
                                         kAutostartFileName, kFramingFileName, kBoardModelFileName};

// What stands where a program file should be; links point out of the program folder.
enum class Special { Fifo, Folder, LinkToFile, LinkToFifo, DanglingLink };
struct SpecialRow {
  Special kind;
  const char* name;
};
void PrintTo(const SpecialRow& row, std::ostream* os) { *os << row.name; }

void MakeSpecial(Special kind, const fs::path& path, const fs::path& outside) {
  const fs::path target = outside / path.filename();
  if (kind == Special::Fifo) ::mkfifo(path.c_str(), 0600);
  if (kind == Special::Folder) fs::create_directory(path);
  if (kind == Special::LinkToFile) std::ofstream(target, std::ios::binary) << "";
  if (kind == Special::LinkToFifo) ::mkfifo(target.c_str(), 0600);
  if (kind >= Special::LinkToFile) fs::create_symlink(target, path);
}

// A start-up that blocks on a FIFO is ended by the alarm instead of hanging the suite.
struct HangGuard {
  HangGuard() { ::alarm(60); }
  ~HangGuard() { ::alarm(0); }
};

class StartupOverSpecialFiles : public testing::TestWithParam<SpecialRow> {
 protected:
  void SetUp() override {
    for (const char* name : kProgramFiles) {
      MakeSpecial(GetParam().kind, tp.folder.path() / name, outside.path());
    }
  }

  test::TestPlatform tp;
  test::TempFolder outside;
  DriverState state;
  TForm1 form{state, tp.platform};
  TForm2 dialog{tp.profile, tp.folder.File(kSettingsFileName)};
};

TEST_P(StartupOverSpecialFiles, StartsWithTheDefaultsAndRefusesWrites) {
  const char* name = GetParam().name;
  HangGuard guard;
  form.FormCreate();
  dialog.FormCreate(state.link.ReportFraming, state.link.BoardModel);

  EXPECT_EQ(form.N1.Caption, "定位") << name;
  EXPECT_FALSE(form.N4.Checked) << name;
  EXPECT_TRUE(form.N2.Checked) << name << ": a missing server11.txt keeps the design state";
  EXPECT_EQ(state.pen.PenTouchLimit, 0) << name;
  EXPECT_EQ(state.keys.KeyMarginRight, 28450) << name;
  EXPECT_EQ(state.link.ReportFraming, ReportFraming::Plain) << name;
  EXPECT_EQ(state.link.BoardModel, 0) << name;
  EXPECT_FLOAT_EQ(state.calibration.Stored.CalibrationScaleX, 1023 * 10.0f / 2940) << name;
  EXPECT_EQ(dialog.Button1.Caption, "确定") << name << ": the dialog speaks the default language";
  EXPECT_TRUE(state.link.LinkOpenPending) << name;

  EXPECT_FALSE(SaveFlag(tp.files, kFramingFileName, 1)) << name;
  EXPECT_FALSE(SaveCalibration(tp.files, state.calibration.Stored, {110, 110, 110, 110})) << name;
  SettingsFile ini(tp.profile, tp.folder.File(kSettingsFileName));
  EXPECT_THROW(ini.WriteInteger(Section::Language, "Select", 1), SettingsWriteError) << name;
}

// A link to an empty file reads as an empty file, which gives the defaults too.
INSTANTIATE_TEST_SUITE_P(
    Kinds, StartupOverSpecialFiles,
    testing::Values(SpecialRow{Special::Fifo, "FIFO"}, SpecialRow{Special::Folder, "Folder"},
                    SpecialRow{Special::LinkToFile, "LinkToAFileOutsideTheFolder"},
                    SpecialRow{Special::LinkToFifo, "LinkToAFIFO"},
                    SpecialRow{Special::DanglingLink, "DanglingLinkOutOfTheFolder"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace raz
