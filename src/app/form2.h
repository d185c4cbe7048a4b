#pragma once
// TForm2, the hidden settings dialog: the board's report framing (the radio pair) and its
// model. It writes no file itself: an accepted choice waits as a BoardChoice until the device
// watch applies and stores it.
#include <optional>
#include <string>

#include "app/components.h"
#include "board/device_link.h"
#include "platform/profile.h"

namespace raz {

inline constexpr char kDialogCaption[] = "Board";

class TForm2 {
 public:
  TForm2(Profile& profile, std::string settingsPath);

  // Takes the captions from the settings file and the choices in force from the main window.
  void FormCreate(std::int32_t reportFraming, std::int32_t boardModel);
  void FormShow();
  void Button1Click();
  void Button2Click();

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

  Profile& profile_;
  std::string settingsPath_;
  // The last accepted choices: the framing of the selected radio button and the model index.
  std::optional<std::int32_t> acceptedFraming_;
  std::optional<std::int32_t> acceptedModel_;
  bool choicePending_ = false;
};

}  // namespace raz
