#include "vkeys/form2.h"

#include <gtest/gtest.h>

#include "app/form1.h"
#include "support/test_platform.h"

namespace raz {
namespace {

class SettingsDialogTest : public ::testing::Test {
 protected:
  TForm2& Create(const char* label9, const char* label12) {
    form1.Label9.Caption = label9;
    form1.Label12.Caption = label12;
    form2.FormCreate();
    return form2;
  }

  test::TestPlatform tp;
  DriverState state;
  TForm1 form1{state, tp.platform};
  TForm2 form2{form1, tp.profile, tp.folder.File("VaziZod.ini")};
};

TEST_F(SettingsDialogTest, TakesTheStoredChoicesFromTheMainWindowLabels) {
  struct Row {
    const char* label9;
    const char* label12;
    bool first, second;
    const char* label1;
    int item;
    const char* label3;
  };
  const Row rows[] = {{"1", "2", false, true, "2", 2, "2"},
                      {"0", "0", true, false, "1", 0, "0"},
                      {"Label9", "Label12", true, false, "Label1", -1, "Label3"}};
  for (const Row& row : rows) {
    test::TestPlatform p;
    DriverState s;
    TForm1 f1(s, p.platform);
    TForm2 f2(f1, p.profile, p.folder.File("VaziZod.ini"));
    f1.Label9.Caption = row.label9;
    f1.Label12.Caption = row.label12;
    f2.FormCreate();
    SCOPED_TRACE(std::string("Label9 ") + row.label9);
    EXPECT_EQ(f2.RadioButton1.Checked, row.first);
    EXPECT_EQ(f2.RadioButton2.Checked, row.second);
    EXPECT_EQ(f2.Label1.Caption, row.label1);
    EXPECT_EQ(f2.RadioGroup2.ItemIndex, row.item);
    EXPECT_EQ(f2.Label3.Caption, row.label3);
  }
}

TEST_F(SettingsDialogTest, CaptionsComeFromTheLanguageSectionAndAreEmptyWithoutIt) {
  tp.folder.WriteText("VaziZod.ini", "[language]\r\nSelect=1\r\nOK=Confirm\r\n");
  Create("0", "0");
  EXPECT_EQ(form2.RadioGroup2.Caption, "1") << "SELECT and Select are one entry";
  EXPECT_EQ(form2.Button1.Caption, "Confirm");
  EXPECT_EQ(form2.Button2.Caption, "");
}

TEST_F(SettingsDialogTest, OkRaisesBothPendingFlagsWithTheChoices) {
  Create("0", "1");
  form2.RadioButton1.Checked = false;
  form2.RadioButton2.Checked = true;
  form2.RadioGroup2.ItemIndex = 2;
  form2.Window.Visible = true;
  form2.Button1Click();
  EXPECT_EQ(form2.Label1.Caption, "2");
  EXPECT_EQ(form2.Label2.Caption, "1");
  EXPECT_EQ(form2.Label3.Caption, "2");
  EXPECT_EQ(form2.Label4.Caption, "1");
  EXPECT_FALSE(form2.Window.Visible);
}

TEST_F(SettingsDialogTest, OkWithoutAModelKeepsTheAcceptedModelButStillRaisesItsFlag) {
  Create("0", "Label12");
  form2.Button1Click();
  EXPECT_EQ(form2.Label3.Caption, "Label3");
  EXPECT_EQ(form2.Label4.Caption, "1");
}

TEST_F(SettingsDialogTest, CancelBringsTheAcceptedChoiceBackAndLeavesThePendingFlag) {
  Create("0", "1");
  form2.RadioButton1.Checked = false;
  form2.RadioButton2.Checked = true;
  form2.RadioGroup2.ItemIndex = 0;
  form2.Button2Click();
  EXPECT_TRUE(form2.RadioButton1.Checked);
  EXPECT_FALSE(form2.RadioButton2.Checked);
  EXPECT_EQ(form2.RadioGroup2.ItemIndex, 1);
  EXPECT_EQ(form2.Label2.Caption, "Label2");
}

}  // namespace
}  // namespace raz
