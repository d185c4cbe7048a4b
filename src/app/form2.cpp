#include "app/form2.h"

#include "storage/settings.h"

namespace raz {
namespace {

constexpr std::uint32_t kMoneyGreen = 0xC0DCC0;
constexpr std::uint32_t kSkyBlue = 0xA6CAF0;
constexpr std::uint32_t kRed = 0xFF0000;

// A caption from the settings file; an empty one would leave a blank button, so it counts as
// none.
std::optional<std::string> FileCaption(SettingsFile& ini, const char* key) {
  std::string caption = ini.ReadString(Section::Language, key);
  if (caption.empty()) return std::nullopt;
  return caption;
}

}  // namespace

TForm2::TForm2(Profile& profile, std::string settingsPath)
    : profile_(profile), settingsPath_(std::move(settingsPath)) {
  Window.Caption = kDialogCaption;
  // Wide enough for the model group beside the radio pair; the design put the group out of
  // sight, so no model could ever be chosen.
  Window.ClientWidth = 505;
  Window.ClientHeight = 438;
  Window.Color = kMoneyGreen;
  Window.Font = {"宋体", 21, true, kRed};
  PlaceControl(RadioGroup1, 16, 24, 233, 145);
  RadioGroup1.Color = kSkyBlue;
  // Wider than the design's: the captions carry the link rate.
  PlaceControl(RadioButton1, 40, 56, 200, 25);
  RadioButton1.Checked = true;
  PlaceControl(RadioButton2, 40, 104, 200, 25);
  PlaceControl(Button1, 32, 192, 75, 25);
  PlaceControl(Button2, 152, 192, 75, 25);
  PlaceControl(RadioGroup2, 264, 24, 225, 193);
  RadioGroup2.Items.assign(std::begin(kBoardModelNames), std::end(kBoardModelNames));
  PlaceControl(RadioGroup3, 16, 232, 473, 90);
  PlaceControl(RadioGroup4, 16, 332, 473, 90);
  ApplyCaptions();
}

void TForm2::FormCreate(ReportFraming reportFraming, std::int32_t boardModel, Mapping mapping) {
  SettingsFile ini(profile_, settingsPath_);
  fileSelect_ = FileCaption(ini, Key::DialogSelect);
  fileOk_ = FileCaption(ini, Key::DialogOk);
  fileCancel_ = FileCaption(ini, Key::DialogCancel);
  // The profile functions match keys without regard to case, so SELECT also finds the
  // language number Select; a number is no caption.
  if (fileSelect_ && ParseProfileInteger(*fileSelect_)) fileSelect_.reset();
  ApplyCaptions();
  acceptedFraming_ = reportFraming;
  if (const auto model = BoardModelFromStored(boardModel)) acceptedModel_ = *model;
  acceptedMapping_ = mapping;
  RestoreAcceptedChoices();
}

void TForm2::SetLanguage(Language language) {
  language_ = language;
  ApplyCaptions();
}

void TForm2::ApplyCaptions() {
  const DialogCaptionSet& design = DialogCaptionsOf(language_);
  RadioGroup1.Caption = design.RadioGroup1;
  RadioButton1.Caption = design.RadioButton1;
  RadioButton2.Caption = design.RadioButton2;
  Button1.Caption = fileOk_.value_or(design.Button1);
  Button2.Caption = fileCancel_.value_or(design.Button2);
  RadioGroup2.Caption = fileSelect_.value_or(design.RadioGroup2);
  RadioGroup3.Caption = design.RadioGroup3;
  RadioGroup3.Items.assign(std::begin(design.MappingItems), std::end(design.MappingItems));
  RadioGroup4.Caption = design.RadioGroup4;
  RadioGroup4.Items = {design.PenClassic, design.PenResponsive};
}

void TForm2::RestoreAcceptedChoices() {
  if (acceptedFraming_) {
    RadioButton1.Checked = *acceptedFraming_ == ReportFraming::Plain;
    RadioButton2.Checked = *acceptedFraming_ == ReportFraming::Framed;
  }
  if (acceptedModel_) RadioGroup2.ItemIndex = StoredNumber(*acceptedModel_);
  RadioGroup3.ItemIndex = StoredNumber(acceptedMapping_);
  RadioGroup4.ItemIndex = static_cast<int>(acceptedResponse_);
}

void TForm2::ShowPenResponse(PenResponse response) {
  acceptedResponse_ = response;
  RestoreAcceptedChoices();
}

std::optional<PenResponse> TForm2::PendingPenResponse() const {
  if (!choicePending_) return std::nullopt;
  return acceptedResponse_;
}

void TForm2::FormShow() { RestoreAcceptedChoices(); }

void TForm2::Button1Click() {
  choicePending_ = true;
  if (RadioButton1.Checked) acceptedFraming_ = ReportFraming::Plain;
  if (RadioButton2.Checked) acceptedFraming_ = ReportFraming::Framed;
  const int item = RadioGroup2.ItemIndex;
  if (item >= 0 && item < static_cast<int>(RadioGroup2.Items.size())) {
    if (const auto model = BoardModelNamed(RadioGroup2.Items[item])) acceptedModel_ = *model;
  }
  if (RadioGroup3.ItemIndex >= 0) acceptedMapping_ = MappingFromStored(RadioGroup3.ItemIndex);
  if (RadioGroup4.ItemIndex == 0 || RadioGroup4.ItemIndex == 1) {
    acceptedResponse_ = PenResponseFromStored(RadioGroup4.ItemIndex);
  }
  Window.Visible = false;
  if (MappingAccepted) MappingAccepted(acceptedMapping_);
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
