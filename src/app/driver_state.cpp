#include "app/driver_state.h"

#include "platform/display.h"

namespace raz {

void RefreshScreen(ScreenState& screen, Display& display) {
  const int width = display.HorizontalResolution();
  const int height = display.VerticalResolution();
  // A display that reads 0 on an axis (switching modes, a remote session) is not a screen of no
  // size: everything keeps the size it had.
  if (width == 0 || height == 0) return;
  screen.ScreenWidth = width;
  screen.ScreenHeight = height;
}

}  // namespace raz
