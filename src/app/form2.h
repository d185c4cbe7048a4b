#pragma once
// TForm2, the hidden settings dialog: the board's report framing (the radio pair) and its
// model. It writes no file itself: an accepted choice waits as a BoardChoice until the device
// watch applies and stores it.
#include <optional>
#include <string>

#include "app/components.h"
#include "board/device_link.h"
#include "platform/profile.h"
#include "shell/language.h"

namespace raz {

inline constexpr char kDialogCaption[] = "Board";

class TForm2 {
 public:
  TForm2(Profile& profile, std::string settingsPath);

  // Takes the captions from the settings file and the choices in force from the main window:
  // the framing, and the stored number of the model.
  void FormCreate(ReportFraming reportFraming, std::int32_t boardModel);
  void FormShow();
  void Button1Click();
  void Button2Click();

  // The dialog's own captions follow the main window's language; those the settings file
  // gives stay as it gives them.
  void SetLanguage(Language language);

  // The confirmed choice the device watch has still to apply, and its acknowledgement.
  std::optional<BoardChoice> PendingChoice() const;
  void ChoiceApplied() { choicePending_ = false; }

  FormWindow Window;
  RadioGroup RadioGroup1;
  RadioButton RadioButton1, RadioButton2;
  Button Button1, Button2;
  RadioGroup RadioGroup2;

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
  bool choicePending_ = false;
};

}  // namespace raz
