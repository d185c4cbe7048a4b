#pragma once
// TForm2, the hidden settings dialog: the board's report framing (the radio pair), its model
// and the mapping. It writes no file itself: an accepted board choice waits as a BoardChoice
// until the device watch applies and stores it; an accepted mapping goes to the main window at
// once, through MappingAccepted.
#include <functional>
#include <optional>
#include <string>

#include "app/components.h"
#include "board/device_link.h"
#include "calibration/keystone.h"
#include "platform/profile.h"
#include "pointer/poll_pace.h"
#include "shell/language.h"

namespace raz {

inline constexpr char kDialogCaption[] = "Board";

class TForm2 {
 public:
  TForm2(Profile& profile, std::string settingsPath);

  // Takes the captions from the settings file and the choices in force from the main window:
  // the framing, the stored number of the model, and the mapping.
  void FormCreate(ReportFraming reportFraming, std::int32_t boardModel,
                  Mapping mapping = Mapping::Standard);
  void FormShow();
  void Button1Click();
  void Button2Click();

  // The dialog's own captions follow the main window's language; those the settings file
  // gives stay as it gives them.
  void SetLanguage(Language language);

  // The confirmed choice the device watch has still to apply, and its acknowledgement.
  std::optional<BoardChoice> PendingChoice() const;
  void ChoiceApplied() { choicePending_ = false; }
  // The pen's response mode in force, and the one a confirmed choice asks for.
  void ShowPenResponse(PenResponse response);
  std::optional<PenResponse> PendingPenResponse() const;

  // Called on OK with the mapping the dialog shows; the main window puts it in force.
  std::function<void(Mapping)> MappingAccepted;

  FormWindow Window;
  RadioGroup RadioGroup1;
  RadioButton RadioButton1, RadioButton2;
  Button Button1, Button2;
  RadioGroup RadioGroup2;
  RadioGroup RadioGroup3;  // the mapping: standard, keystone-exact
  RadioGroup RadioGroup4;  // the pen's response: classic or responsive

 private:
  void RestoreAcceptedChoices();
  void ApplyCaptions();

  Profile& profile_;
  std::string settingsPath_;
  Language language_ = Language::Chinese;
  // Captions the settings file gives: OK, CANCEL and SELECT of section language.
  std::optional<std::string> fileOk_, fileCancel_, fileSelect_;
  // The last accepted choices: the framing of the selected radio button and the model.
  std::optional<ReportFraming> acceptedFraming_;
  std::optional<BoardModelKind> acceptedModel_;
  Mapping acceptedMapping_ = Mapping::Standard;
  PenResponse acceptedResponse_ = PenResponse::Classic;
  bool choicePending_ = false;
};

}  // namespace raz
