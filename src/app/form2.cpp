#include "app/form2.h"

#include "storage/settings.h"

namespace raz {

TForm2::TForm2(Profile& profile, std::string settingsPath)
    : profile_(profile), settingsPath_(std::move(settingsPath)) {
  Window.Caption = kDialogCaption;
  Window.ClientWidth = 264;
  Window.ClientHeight = 238;
  PlaceControl(RadioGroup1, 16, 24, 233, 145, "快捷键选择");
  PlaceControl(RadioButton1, 48, 56, 169, 25, "使用快捷键");
  RadioButton1.Checked = true;
  PlaceControl(RadioButton2, 48, 104, 153, 25, "不使用快捷键");
  PlaceControl(Button1, 32, 192, 75, 25, "确定");
  PlaceControl(Button2, 152, 192, 75, 25, "取消");
  PlaceControl(RadioGroup2, 464, 176, 225, 193, "选择白板规格");
  RadioGroup2.Items.assign(std::begin(kBoardModelNames), std::end(kBoardModelNames));
}

void TForm2::FormCreate(std::int32_t reportFraming, std::int32_t boardModel) {
  SettingsFile ini(profile_, settingsPath_);
  RadioGroup2.Caption = ini.ReadString(Section::Language, "SELECT");
  Button1.Caption = ini.ReadString(Section::Language, "OK");
  Button2.Caption = ini.ReadString(Section::Language, "CANCEL");
  if (reportFraming == kPlainFraming || reportFraming == kFramedFraming) {
    acceptedFraming_ = reportFraming;
  }
  if (IsBoardModel(boardModel)) acceptedModel_ = boardModel;
  RestoreAcceptedChoices();
}

void TForm2::RestoreAcceptedChoices() {
  if (acceptedFraming_) {
    RadioButton1.Checked = *acceptedFraming_ == kPlainFraming;
    RadioButton2.Checked = *acceptedFraming_ == kFramedFraming;
  }
  if (acceptedModel_) RadioGroup2.ItemIndex = *acceptedModel_;
}

void TForm2::FormShow() { RestoreAcceptedChoices(); }

void TForm2::Button1Click() {
  choicePending_ = true;
  if (RadioButton1.Checked) acceptedFraming_ = kPlainFraming;
  if (RadioButton2.Checked) acceptedFraming_ = kFramedFraming;
  const int item = RadioGroup2.ItemIndex;
  if (item >= 0 && item < static_cast<int>(RadioGroup2.Items.size())) {
    for (std::int32_t model = 0; model < kBoardModelCount; ++model) {
      if (RadioGroup2.Items[item] == kBoardModelNames[model]) acceptedModel_ = model;
    }
  }
  Window.Visible = false;
}

void TForm2::Button2Click() {
  RestoreAcceptedChoices();
  Window.Visible = false;
}

std::optional<BoardChoice> TForm2::PendingChoice() const {
  if (!choicePending_) return std::nullopt;
  return BoardChoice{acceptedFraming_, acceptedModel_};
}

}  // namespace raz
