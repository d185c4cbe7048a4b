#include "app/driver_state.h"

#include "platform/display.h"

namespace raz {

void RefreshScreen(ScreenState& screen, Display& display) {
  screen.ScreenWidth = display.HorizontalResolution();
  screen.ScreenHeight = display.VerticalResolution();
  if (screen.ScreenWidth != 0 && screen.ScreenHeight != 0) {
    screen.MouseScaleX = static_cast<float>(65535.0 / screen.ScreenWidth);
    screen.MouseScaleY = static_cast<float>(65535.0 / screen.ScreenHeight);
  }
}

}  // namespace raz
