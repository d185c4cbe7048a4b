#include "pointer/mouse_injection.h"

#include <algorithm>

#include "app/form1.h"
#include "pointer/calibration_hooks.h"

namespace raz {
namespace {

constexpr std::int32_t kInjectLevel = 30;  // LevelY at or below this moves nothing
constexpr std::int64_t kAbsoluteRange = 65536;

void Emit(TForm1& form, std::uint32_t flags, std::int32_t x, std::int32_t y) {
  const ScreenState& screen = form.state().screen;
  form.platform().mouse.Emit(flags | MouseFlags::Absolute, ToAbsolute(x, screen.ScreenWidth),
                             ToAbsolute(y, screen.ScreenHeight));
  PointerState& pointer = form.state().pointer;
  pointer.LastEventX = x;
  pointer.LastEventY = y;
  if (flags & MouseFlags::LeftDown) pointer.LeftButtonDown = true;
  if (flags & MouseFlags::LeftUp) pointer.LeftButtonDown = false;
}

}  // namespace

std::int32_t ToAbsolute(std::int32_t pixel, std::int32_t screenSize) {
  if (screenSize <= 0) return 0;
  const std::int64_t coordinate = (pixel * kAbsoluteRange + screenSize - 1) / screenSize;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(coordinate, 0, kAbsoluteRange - 1));
}

void Inject(TForm1& form, std::int32_t x, std::int32_t y, PointerAction action) {
  const DriverState& state = form.state();
  if (state.sample.LevelY <= kInjectLevel) return;
  const bool inMargin = state.interpolation.InKeyMargin == 1;
  switch (action) {
    case PointerAction::Press:
      if (inMargin) {
        KeyAction(form);
        return;
      }
      Emit(form, MouseFlags::Move, x, y);
      Emit(form, MouseFlags::LeftDown, x, y);
      return;
    case PointerAction::DragMove:
    case PointerAction::HoverMove:
      if (!inMargin) Emit(form, MouseFlags::Move, x, y);
      return;
    case PointerAction::Lift:
      Emit(form, MouseFlags::LeftUp, x, y);
      return;
    case PointerAction::FinishCalibration:
      FinishCalibration(form);
      return;
    case PointerAction::Release:
      Emit(form, MouseFlags::Move, x, y);
      Emit(form, MouseFlags::LeftUp, x, y);
      return;
    case PointerAction::RightClick:
      if (inMargin) return;
      // A touch that turned into the right-button pen still holds the left button: let it
      // go first, so the click is a plain right-click and nothing stays pressed.
      if (state.pointer.LeftButtonDown) Emit(form, MouseFlags::LeftUp, x, y);
      Emit(form, MouseFlags::RightDown, x, y);
      Emit(form, MouseFlags::RightUp, x, y);
      return;
    case PointerAction::None:
      return;
  }
}

void ReleaseLeftButton(TForm1& form) {
  PointerState& pointer = form.state().pointer;
  if (pointer.LeftButtonDown) {
    Emit(form, MouseFlags::LeftUp, pointer.LastEventX, pointer.LastEventY);
  }
  pointer.PrevStatus = PenStatusCode::NoPen;
  pointer.HistoryCount = 0;
}

}  // namespace raz
