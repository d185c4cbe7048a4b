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

// The framing and model in force select the controls; values outside their ranges leave the
// design state (the first radio button, no model). OK then confirms what the controls show.
TEST_F(SettingsDialogTest, TakesTheChoicesInForceAndOkConfirmsWhatItShows) {
  const struct {
    std::int32_t framing, model;
    bool first, second;
    int item;
    BoardChoice confirmed;
  } rows[] = {
      {1, 2, false, true, 2, {1, 2}},
      {0, 0, true, false, 0, {0, 0}},
      {2, 7, true, false, -1, {0, std::nullopt}},
      {-1, -1, true, false, -1, {0, std::nullopt}},
  };
  for (const auto& row : rows) {
    test::TestPlatform p;
    TForm2 dialog(p.profile, p.folder.File("VaziZod.ini"));
    dialog.FormCreate(row.framing, row.model);
    SCOPED_TRACE(testing::Message() << "framing " << row.framing << " model " << row.model);
    EXPECT_EQ(dialog.RadioButton1.Checked, row.first);
    EXPECT_EQ(dialog.RadioButton2.Checked, row.second);
    EXPECT_EQ(dialog.RadioGroup2.ItemIndex, row.item);
    EXPECT_FALSE(dialog.PendingChoice());
    dialog.Button1Click();
    ASSERT_TRUE(dialog.PendingChoice());
    EXPECT_EQ(*dialog.PendingChoice(), row.confirmed);
  }
}

TEST_F(SettingsDialogTest, CaptionsComeFromTheLanguageSectionAndAreEmptyWithoutIt) {
  tp.folder.WriteText("VaziZod.ini", "[language]\r\nSelect=1\r\nOK=Confirm\r\n");
  form2.FormCreate(0, 0);
  EXPECT_EQ(form2.RadioGroup2.Caption, "1") << "SELECT and Select are one entry";
  EXPECT_EQ(form2.Button1.Caption, "Confirm");
  EXPECT_EQ(form2.Button2.Caption, "");
}

TEST_F(SettingsDialogTest, OkConfirmsTheChoiceUntilTheDeviceWatchHasAppliedIt) {
  form2.FormCreate(0, 1);
  form2.RadioButton1.Checked = false;
  form2.RadioButton2.Checked = true;
  form2.RadioGroup2.ItemIndex = 2;
  form2.Window.Visible = true;
  form2.Button1Click();
  EXPECT_FALSE(form2.Window.Visible);
  EXPECT_EQ(form2.PendingChoice(), BoardChoice({1, 2}));
  form2.ChoiceApplied();
  EXPECT_FALSE(form2.PendingChoice());
}

// Cancel brings the accepted choice back into the controls and leaves a pending choice
// pending: a choice confirmed before it is still applied.
TEST_F(SettingsDialogTest, CancelBringsTheAcceptedChoiceBackAndLeavesThePendingChoice) {
  form2.FormCreate(0, 1);
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
              confirmedBefore ? std::optional<BoardChoice>({0, 1}) : std::nullopt);
  }
}

}  // namespace
}  // namespace raz
