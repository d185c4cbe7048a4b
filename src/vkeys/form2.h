#pragma once
// TForm2, the hidden settings dialog. It writes no file itself: accepted choices wait in the
// captions of its hidden labels until the device watch applies and stores them.
#include "app/components.h"
#include "platform/profile.h"

namespace raz {

class TForm1;

inline constexpr char kDialogCaption[] = "Board";
inline constexpr const char* kBoardModelNames[] = {"KX", "RU82", "VI100"};

class TForm2 {
 public:
  TForm2(TForm1& form1, Profile& profile, std::string settingsPath);

  void FormCreate();
  void FormShow();
  void Button1Click();
  void Button2Click();

  FormWindow Window;
  RadioGroup RadioGroup1;
  RadioButton RadioButton1, RadioButton2;
  Button Button1, Button2;
  RadioGroup RadioGroup2;
  Label Label1;  // accepted framing choice: "1" first button, "2" second
  Label Label2;  // DialogChoicePending
  Label Label3;  // accepted board model "0".."2"
  Label Label4;  // DialogModelPending

 private:
  void RestoreAcceptedChoices();

  TForm1& form1_;
  Profile& profile_;
  std::string settingsPath_;
};

}  // namespace raz
