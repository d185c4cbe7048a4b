#include "app/form2.h"

#include <gtest/gtest.h>

#include "support/test_platform.h"

namespace raz {
namespace {

class SettingsDialogTest : public ::testing::Test {
 protected:
  test::TestPlatform tp;
  TForm2 form2{tp.profile, tp.folder.File("VaziZod.ini")};
};

// The settings file names the buttons and the model group; where it names none (or an empty
// one) the design caption of the current language stands instead of a blank. SELECT and the
// language number Select are one entry to the profile functions, so a number is no caption.
TEST_F(SettingsDialogTest, CaptionsFromTheSettingsFileOrTheDesignOnesOfTheLanguage) {
  const struct {
    const char* language;
    Language lang;
    const char* ok;
    const char* cancel;
    const char* select;
  } rows[] = {
      {"", Language::Chinese, "确定", "取消", "选择白板规格"},
      {"Select=1\r\n", Language::English, "OK", "Cancel", "Board model"},
      {"Select=2\r\nOK=Yes\r\n", Language::Chinese, "Yes", "取消", "选择白板规格"},
      {"OK=\r\nCANCEL=Close\r\nSELECT=Model\r\n", Language::English, "OK", "Close", "Model"},
      {"SELECT=0x2\r\n", Language::Chinese, "确定", "取消", "选择白板规格"},
  };
  for (const auto& row : rows) {
    test::TestPlatform p;
    p.folder.WriteText("VaziZod.ini", std::string("[language]\r\n") + row.language);
    TForm2 dialog(p.profile, p.folder.File("VaziZod.ini"));
    dialog.SetLanguage(row.lang);
    dialog.FormCreate(ReportFraming::Plain, 0);
    SCOPED_TRACE(row.language);
    EXPECT_EQ(dialog.Button1.Caption, row.ok);
    EXPECT_EQ(dialog.Button2.Caption, row.cancel);
    EXPECT_EQ(dialog.RadioGroup2.Caption, row.select);
    EXPECT_EQ(dialog.Window.Caption, "Board");
  }
}

// A later language switch changes the design captions and leaves those from the file.
TEST_F(SettingsDialogTest, ALanguageSwitchKeepsTheCaptionsTheSettingsFileGives) {
  tp.folder.WriteText("VaziZod.ini", "[language]\r\nCANCEL=Abbrechen\r\n");
  form2.FormCreate(ReportFraming::Plain, 0);
  form2.SetLanguage(Language::English);
  EXPECT_EQ(form2.Button1.Caption, "OK");
  EXPECT_EQ(form2.Button2.Caption, "Abbrechen");
  EXPECT_EQ(form2.RadioButton1.Caption, "Standard 460800");
  EXPECT_EQ(form2.RadioGroup1.Caption, "Report format");
  form2.SetLanguage(Language::Chinese);
  EXPECT_EQ(form2.Button1.Caption, "确定");
  EXPECT_EQ(form2.Button2.Caption, "Abbrechen");
  EXPECT_EQ(form2.RadioButton2.Caption, "分帧 115200");
}

// The radio pair chooses the report framing: each button says which, with the link rate the
// choice puts the board on, in both languages (captioned as a hotkey switch, it invited
// teachers to stop their pen for good).
TEST_F(SettingsDialogTest, EachFramingButtonNamesTheLinkRateItChooses) {
  form2.FormCreate(ReportFraming::Plain, 0);
  for (Language language : {Language::Chinese, Language::English}) {
    form2.SetLanguage(language);
    for (RadioButton* chosen : {&form2.RadioButton1, &form2.RadioButton2}) {
      form2.RadioButton1.Checked = chosen == &form2.RadioButton1;
      form2.RadioButton2.Checked = chosen == &form2.RadioButton2;
      form2.Button1Click();
      const ReportFraming framing = form2.PendingChoice()->ReportFraming.value();
      SCOPED_TRACE(chosen->Caption);
      EXPECT_NE(chosen->Caption.find(std::to_string(LinkRateFor(framing))), std::string::npos);
      EXPECT_EQ(chosen->Caption.find("快捷键"), std::string::npos);
      EXPECT_EQ(chosen->Caption.find("otkey"), std::string::npos);
    }
  }
}

// Cancel brings the accepted choice back into the controls and leaves a pending choice
// pending: a choice confirmed before it is still applied.
TEST_F(SettingsDialogTest, CancelBringsTheAcceptedChoiceBackAndLeavesThePendingChoice) {
  form2.FormCreate(ReportFraming::Plain, 1);
  for (bool confirmedBefore : {false, true}) {
    if (confirmedBefore) form2.Button1Click();
    form2.RadioButton1.Checked = false;
    form2.RadioButton2.Checked = true;
    form2.RadioGroup2.ItemIndex = 0;
    form2.Button2Click();
    SCOPED_TRACE(confirmedBefore ? "confirmed before" : "nothing confirmed");
    EXPECT_TRUE(form2.RadioButton1.Checked);
    EXPECT_FALSE(form2.RadioButton2.Checked);
    EXPECT_EQ(form2.RadioGroup2.ItemIndex, 1);
    EXPECT_EQ(form2.PendingChoice(),
              confirmedBefore
                  ? std::optional<BoardChoice>({ReportFraming::Plain, BoardModelKind::RU82})
                  : std::nullopt);
  }
}

}  // namespace
}  // namespace raz
