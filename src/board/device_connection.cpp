#include "board/device_connection.h"

#include "app/form1.h"

namespace raz {

// Probing and opening the board arrive with the board input.
void WatchDevice(TForm1&) {}

}  // namespace raz
