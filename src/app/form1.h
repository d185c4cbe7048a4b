#pragma once
// TForm1, the main window: its components as plain data and its handlers. Handlers are the
// wiring: they hand each stage its input and state, and write what comes back into the
// driver state and the components. The host turns the model into real controls.
#include <cstdint>
#include <optional>

#include "app/components.h"
#include "app/driver_state.h"
#include "board/report_reader.h"
#include "platform/platform.h"
#include "shell/captions.h"
#include "shell/language.h"

namespace raz {

class TForm2;

inline constexpr char kMainCaption[] = "RA_Zazide";
inline constexpr char kTrayTip[] = "Rored_Evezed";
// Main-window Label2 after a probe.
inline constexpr char kBoardFoundText[] = "ok";
inline constexpr char kBoardMissingText[] = "no";
// Memo1's line per poll while the report rate is measured.
inline constexpr char kQueuedBytesLabel[] = "toBeRead1: ";
// Virtual-key code of the Esc key, as the system numbers it.
inline constexpr int kEscapeKey = 0x1B;

class TForm1 {
 public:
  TForm1(DriverState& state, Platform& platform);

  // The settings dialog is created after this window; the device watch takes its board
  // choice, and its mapping is put in force as the dialog accepts it.
  void AttachDialog(TForm2& form2);

  // Handlers.
  void FormCreate();
  void FormDestroy();
  void Timer1Timer();
  void Timer2Timer();
  void Timer3Timer();
  void N3Click();
  // The report-rate measurement: while it runs, every poll writes its byte count into Memo1.
  void Button4Click();
  void Button5Click();
  // Shell commands (shell_commands.cpp).
  void N2Click();
  void N7Click();
  void English1Click();
  void N8Click();
  // The board-screen menu: item n (0-based) of the listed monitors becomes the board's.
  void ScreenClick(std::size_t n);
  // Touch the board to find its monitor: a cross on every monitor, the touch picks one.
  void N10Click();
  // The main window's own messages, tested in the order of its window procedure. A value is
  // the message's result, and the message goes no further; nullopt: default handling follows.
  std::optional<std::intptr_t> WindowMessage(std::uint32_t message, std::uintptr_t wParam,
                                             std::intptr_t lParam);
  // The notification area was made anew: the icon has to be added again.
  void TaskbarCreated();
  // The system says the displays changed.
  void DisplayChanged() { FollowDisplays(); }
  Language CurrentLanguage() const { return language_; }
  // Screen calibration (calibration_commands.cpp).
  void N1Click();
  void Button3Click();
  void Button1Click();
  // The dialog's accepted mapping: in force for the next sample, and stored when it changed.
  void ChooseMapping(Mapping mapping);
  void FormKeyDown(int key);
  // Margin keys (key_commands.cpp).
  void N6Click();
  void N4Click();
  // A client's request message: the answer is the message result.
  std::intptr_t ClientRequestMessage(std::uintptr_t wParam, std::intptr_t lParam);

  // Sets the switchable captions in table order; N6 only when asked.
  void ApplyCaptions(const CaptionSet& captions, bool includeN6 = true);

  FormWindow Window;
  Timer Timer1;
  Timer Timer2;
  Timer Timer3;

  MenuItem N1, N6, N2, langer1, N7, English1, N4, N5, N3;
  MenuItem N8;  // opens the settings dialog; just above the separator
  // The board-screen sub-menu, after N4: one radio item per monitor, the board's checked.
  MenuItem N9;
  std::vector<MenuItem> Screens;
  MenuItem N10;  // the last of N9's items
  PopupMenu PopupMenu1;

  Image Image1, Image2, Image3;
  Label Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label8, Label9, Label12;
  Label Label13, Label14, Label15;
  Button button1, Button3, Button4, Button5;
  Memo Memo1, Memo2, Memo3;
  Edit Edit1;

  DriverState& state() { return state_; }

 private:
  // Start-up.
  void LoadSettings();
  void RemoveLeftoverShortcuts();
  void ProtectDataFiles();
  void LoadStoredCalibration();
  void LoadFlags();
  // Poll tick.
  void TakeReport(std::uint64_t micros);
  void ApplyPenResponse(PenResponse response);
  void ReadEachReport(std::uint64_t now);
  void PaceTimer1(bool penSeen, std::uint64_t now);
  bool NoteRead(const ReadResult& read);
  void DrivePointer(std::uint64_t micros);
  void InjectCommand(const PointerCommand& command);
  void LetGoOfTheButton();
  // Device watch.
  void TrayModify();
  void FollowDisplays();
  void ShowMonitors();
  void ShowFindingCrosses();
  void FindStep();
  void EndFinding();
  // Shell commands.
  void TrayCallback(std::intptr_t mouseMessage);
  void SwitchLanguage(Language language);
  // Calibrations and margin keys, as the poll tick hands them over.
  // Starts the tour at its first cross, or starts it again; a note says why it starts again.
  void StartCalibration(const char* note = nullptr);
  void CalibrationStep();
  void FinishCalibration();
  void CancelCalibration();
  void FollowScreenOnSurface();
  void KeyCalibrationStep();
  void KeyAction();
  void EndKeyCalibration();

  DriverState& state_;
  Platform& platform_;
  TForm2* form2_ = nullptr;
  Language language_ = Language::Chinese;  // the design captions
};

}  // namespace raz
