// The commands of the tray: its callback, autostart, the language switch, the settings dialog.
#include <algorithm>

#include "app/form1.h"
#include "app/form2.h"
#include "app/window_messages.h"
#include "shell/autostart.h"
#include "storage/data_files.h"
#include "storage/settings.h"

namespace raz {

std::optional<std::intptr_t> TForm1::WindowMessage(std::uint32_t message, std::uintptr_t wParam,
                                                   std::intptr_t lParam) {
  // A client's request first: it is answered here and never reaches the default handling.
  if (message == kClientRequestMessage) return ClientRequestMessage(wParam, lParam);
  if (message == kTrayCallbackMessage) TrayCallback(lParam);
  return std::nullopt;
}

// Only a left click opens the menu. Foreground first: without it the menu would not close
// when the user clicks elsewhere.
void TForm1::TrayCallback(std::intptr_t mouseMessage) {
  if (mouseMessage != TrayMouse::LeftButtonUp) return;
  const std::optional<ScreenPoint> cursor = platform_.shell.CursorPosition();
  if (!cursor) {
    Window.Visible = true;
    return;
  }
  platform_.shell.SetForeground();
  PopupMenu1.Popup(cursor->x, cursor->y);
}

void TForm1::TaskbarCreated() {
  state_.tray.Added = false;
  TrayModify();
}

void TForm1::N2Click() {
  N2.Checked = !N2.Checked;
  SwitchAutostart(N2.Checked, platform_.files, platform_.shell);
}

// English first, then the setting: a refused write leaves the captions switched.
void TForm1::English1Click() {
  SwitchLanguage(Language::English);
  SettingsFile(platform_.profile, ProgramFile(platform_.files, kSettingsFileName))
      .WriteInteger(Section::Language, Key::Select, kLanguageEnglish);
}

// The setting first, then Chinese: a refused write leaves the captions as they were.
void TForm1::N7Click() {
  SettingsFile(platform_.profile, ProgramFile(platform_.files, kSettingsFileName))
      .WriteInteger(Section::Language, Key::Select, kLanguageChinese);
  SwitchLanguage(Language::Chinese);
}

void TForm1::SwitchLanguage(Language language) {
  language_ = language;
  ApplyCaptions(CaptionsOf(language));
  if (form2_ != nullptr) form2_->SetLanguage(language);
}

// Shows the settings dialog in the middle of the board's monitor; its FormShow brings back the
// choices last accepted.
void TForm1::N8Click() {
  if (form2_ == nullptr) return;
  FormWindow& dialog = form2_->Window;
  const ScreenRect& monitor = state_.screen.Monitor;
  if (!dialog.Visible) {
    dialog.Left = monitor.Left + std::max(0, (monitor.Width - dialog.ClientWidth) / 2);
    dialog.Top = monitor.Top + std::max(0, (monitor.Height - dialog.ClientHeight) / 2);
  }
  dialog.Visible = true;
}

}  // namespace raz
