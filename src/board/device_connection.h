#pragma once
// The device watch: every two seconds, probe the board, open it, and apply the settings
// dialog's confirmed choices.

namespace raz {

class TForm1;

void WatchDevice(TForm1& form);

}  // namespace raz
