#pragma once
// Autostart: the flag in server11.txt, and the shortcut in the user's Startup folder that makes
// the system start the driver at logon.
#include <optional>
#include <string>

#include "platform/files.h"
#include "platform/shell.h"

namespace raz {

// Where the autostart shortcut goes; nullopt when the shell names no Startup folder.
std::optional<std::string> StartupShortcutPath(Shell& shell);

// The shortcut the autostart writes: the program, started in its own folder so that it finds
// its settings whatever folder the system starts it from.
Shortcut AutostartShortcut(const Files& files, const std::string& linkPath);

// Switching on writes the flag 1 and creates the shortcut. Switching off deletes the shortcut,
// and the one that older versions meant to keep below Programs, then writes the flag 0.
void SwitchAutostart(bool on, Files& files, Shell& shell);

// An install older than the shortcut left the flag on with nothing in the Startup folder: the
// menu showed autostart on while the system never started the driver. With the flag on, the
// missing shortcut is created as switching on creates it; one that is there is left alone.
void RestoreAutostartShortcut(Files& files, Shell& shell);

}  // namespace raz
