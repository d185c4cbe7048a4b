// Start-up over program files that are not plain files. A FIFO in place of VaziZod.ini or a
// data file once blocked the start-up for ever; it must read as missing and refuse writes.
#include <gtest/gtest.h>

#include "app/form1.h"
#include "app/form2.h"
#include "storage/data_files.h"
#include "storage/settings.h"
#include "support/test_platform.h"
#include "unit/platform/special_files.h"

namespace raz {
namespace {

constexpr const char* kProgramFiles[] = {kSettingsFileName, kCalibrationFileName,
                                         kAutostartFileName, kFramingFileName, kBoardModelFileName};

class StartupOverSpecialFiles : public testing::TestWithParam<test::SpecialRow> {
 protected:
  void SetUp() override {
    for (const char* name : kProgramFiles) {
      test::MakeSpecial(GetParam().kind, tp.folder.path() / name, outside.path(), "");
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
  test::HangGuard guard;
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

// Plain and missing files are the start-up's own tests; a link to an empty file reads as an
// empty file, which gives the defaults too.
std::vector<test::SpecialRow> NotPlainFiles() {
  std::vector<test::SpecialRow> rows;
  for (const test::SpecialRow& row : test::kSpecialRows) {
    if (row.kind != test::Special::Missing && row.kind != test::Special::Regular)
      rows.push_back(row);
  }
  return rows;
}

INSTANTIATE_TEST_SUITE_P(Kinds, StartupOverSpecialFiles, testing::ValuesIn(NotPlainFiles()),
                         test::SpecialRowName);

}  // namespace
}  // namespace raz
