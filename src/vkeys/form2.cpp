#include "vkeys/form2.h"

#include "app/form1.h"
#include "storage/settings.h"

namespace raz {
namespace {

bool IsModelIndex(const std::string& text) { return text == "0" || text == "1" || text == "2"; }

}  // namespace

TForm2::TForm2(TForm1& form1, Profile& profile, std::string settingsPath)
    : form1_(form1), profile_(profile), settingsPath_(std::move(settingsPath)) {
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
  RadioGroup2.Items = {kBoardModelNames[0], kBoardModelNames[1], kBoardModelNames[2]};
  PlaceControl(Label1, 300, 16, 40, 13, "Label1");
  PlaceControl(Label2, 300, 40, 40, 13, "Label2");
  PlaceControl(Label3, 300, 64, 40, 13, "Label3");
  PlaceControl(Label4, 300, 88, 40, 13, "Label4");
}

void TForm2::FormCreate() {
  SettingsFile ini(profile_, settingsPath_);
  RadioGroup2.Caption = ini.ReadString(Section::Language, "SELECT");
  Button1.Caption = ini.ReadString(Section::Language, "OK");
  Button2.Caption = ini.ReadString(Section::Language, "CANCEL");
  if (form1_.Label9.Caption == "0") {
    RadioButton1.Checked = true;
    RadioButton2.Checked = false;
    Label1.Caption = "1";
  } else if (form1_.Label9.Caption == "1") {
    RadioButton1.Checked = false;
    RadioButton2.Checked = true;
    Label1.Caption = "2";
  }
  if (IsModelIndex(form1_.Label12.Caption)) {
    RadioGroup2.ItemIndex = std::stoi(form1_.Label12.Caption);
    Label3.Caption = form1_.Label12.Caption;
  }
}

void TForm2::RestoreAcceptedChoices() {
  if (Label1.Caption == "1" || Label1.Caption == "2") {
    RadioButton1.Checked = Label1.Caption == "1";
    RadioButton2.Checked = Label1.Caption == "2";
  }
  if (IsModelIndex(Label3.Caption)) RadioGroup2.ItemIndex = std::stoi(Label3.Caption);
}

void TForm2::FormShow() { RestoreAcceptedChoices(); }

void TForm2::Button1Click() {
  Label2.Caption = "1";
  Label4.Caption = "1";
  if (RadioButton1.Checked) Label1.Caption = "1";
  if (RadioButton2.Checked) Label1.Caption = "2";
  const int item = RadioGroup2.ItemIndex;
  if (item >= 0 && item < static_cast<int>(RadioGroup2.Items.size())) {
    for (int model = 0; model < 3; ++model) {
      if (RadioGroup2.Items[item] == kBoardModelNames[model]) Label3.Caption = std::to_string(model);
    }
  }
  Window.Visible = false;
}

void TForm2::Button2Click() {
  RestoreAcceptedChoices();
  Window.Visible = false;
}

}  // namespace raz
