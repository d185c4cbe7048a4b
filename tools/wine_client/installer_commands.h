#pragma once
// wine_client's commands for the installer check: drive another program's dialog pages (the
// installer's) by clicks and text, and ask the shell about folders and shortcuts.

namespace raz::wineclient {

// The exit code of the command (0 done, 1 not done), or -1 when it is none of these.
int RunInstallerCommand(int argc, wchar_t** argv);

extern const wchar_t kInstallerCommandsUsage[];

}  // namespace raz::wineclient
