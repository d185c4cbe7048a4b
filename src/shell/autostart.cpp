#include "shell/autostart.h"

#include "storage/data_files.h"

namespace raz {

std::optional<std::string> StartupShortcutPath(Shell& shell) {
  const auto folder = shell.StartupFolder();
  if (!folder) return std::nullopt;
  return *folder + "\\" + kShortcutName;
}

Shortcut AutostartShortcut(const Files& files, const std::string& linkPath) {
  std::string folder = files.ProgramFolder();
  while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  return Shortcut{linkPath, files.ProgramPath(), folder};
}

void SwitchAutostart(bool on, Files& files, Shell& shell) {
  const auto link = StartupShortcutPath(shell);
  if (on) {
    SaveFlag(files, kAutostartFileName, 1);
    if (link) shell.CreateShortcut(AutostartShortcut(files, *link));
    return;
  }
  if (const auto programs = shell.ProgramsFolder()) files.DeleteFile(*programs + kStartupShortcut);
  if (link) files.DeleteFile(*link);
  SaveFlag(files, kAutostartFileName, 0);
}

void RestoreAutostartShortcut(Files& files, Shell& shell) {
  const auto link = StartupShortcutPath(shell);
  if (!link || files.ReadFile(*link, 0)) return;
  shell.CreateShortcut(AutostartShortcut(files, *link));
}

}  // namespace raz
