#pragma once
// The set of operating-system services the driver's logic may use. The app wires one set in:
// the Win32 implementations in the real program, the headless ones in tests and the simulator.
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/files.h"
#include "platform/messenger.h"
#include "platform/mouse_output.h"
#include "platform/profile.h"
#include "platform/shell.h"
#include "platform/vendor_usb.h"

namespace raz {

struct Platform {
  Files& files;
  Profile& profile;
  Display& display;
  VendorUsb& usb;
  MouseOutput& mouse;
  Messenger& messenger;
  Shell& shell;
  Clock& clock;
};

}  // namespace raz
