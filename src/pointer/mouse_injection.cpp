#include "pointer/mouse_injection.h"

#include <algorithm>

namespace raz {
namespace {

constexpr std::int64_t kAbsoluteRange = 65536;

// A pixel of the board's monitor held on that monitor, then counted from the desktop's
// top-left: the system maps desktop coordinate c back to Desktop.Left + (c * Width) >> 16.
std::int32_t OnDesktop(std::int32_t pixel, std::int32_t size, std::int32_t origin,
                       std::int32_t desktopStart) {
  return origin + std::clamp(pixel, 0, std::max(size - 1, 0)) - desktopStart;
}

void Emit(std::uint32_t flags, ScreenPoint at, const ScreenPlace& screen, MouseOutput& mouse,
          InjectorState& state) {
  if (screen.AcrossDesktop) {
    const ScreenRect& desk = screen.Desktop;
    mouse.Emit(flags | MouseFlags::Absolute | MouseFlags::VirtualDesk,
               ToAbsolute(OnDesktop(at.x, screen.Size.Width, screen.Origin.x, desk.Left),
                          desk.Width),
               ToAbsolute(OnDesktop(at.y, screen.Size.Height, screen.Origin.y, desk.Top),
                          desk.Height));
  } else {
    mouse.Emit(flags | MouseFlags::Absolute, ToAbsolute(at.x, screen.Size.Width),
               ToAbsolute(at.y, screen.Size.Height));
  }
  state.LastEvent = at;
  if (flags & MouseFlags::LeftDown) state.LeftButtonDown = true;
  if (flags & MouseFlags::LeftUp) state.LeftButtonDown = false;
}

}  // namespace

std::int32_t ToAbsolute(std::int32_t pixel, std::int32_t screenSize) {
  if (screenSize <= 0) return 0;
  const std::int64_t coordinate = (pixel * kAbsoluteRange + screenSize - 1) / screenSize;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(coordinate, 0, kAbsoluteRange - 1));
}

InjectOutcome Inject(const PointerCommand& command, const InjectContext& context,
                     MouseOutput& mouse, InjectorState& state) {
  if (context.Verdict != ReportVerdict::DrivesPen) return InjectOutcome::Done;
  const auto emit = [&](std::uint32_t flags) {
    Emit(flags, command.At, context.Screen, mouse, state);
  };
  // A button still held from a contact that ended without its lift (a touch that went on as
  // the right-button pen) goes up before anything else happens, or the next move would drag.
  const auto letGo = [&] { ReleaseLeftButton(context.Screen, mouse, state); };
  switch (command.Action) {
    case PointerAction::Press:
      letGo();
      if (context.InKeyMargin) return InjectOutcome::KeyAction;
      emit(MouseFlags::Move);
      emit(MouseFlags::LeftDown);
      break;
    case PointerAction::DragMove:
      if (!context.InKeyMargin) emit(MouseFlags::Move);
      break;
    case PointerAction::HoverMove:
      letGo();
      if (!context.InKeyMargin) emit(MouseFlags::Move);
      break;
    case PointerAction::Lift:
      emit(MouseFlags::LeftUp);
      break;
    case PointerAction::FinishCalibration:
      return InjectOutcome::FinishCalibration;
    case PointerAction::Release:
      emit(MouseFlags::Move);
      emit(MouseFlags::LeftUp);
      break;
    case PointerAction::RightClick:
      if (context.InKeyMargin) break;
      // A touch that turned into the right-button pen still holds the left button: let it
      // go first, so the click is a plain right-click and nothing stays pressed. The button
      // events alone would land where the cursor is, so the cursor goes to the pen first.
      letGo();
      emit(MouseFlags::Move);
      emit(MouseFlags::RightDown);
      emit(MouseFlags::RightUp);
      break;
    case PointerAction::None:
      break;
  }
  return InjectOutcome::Done;
}

void ReleaseLeftButton(const ScreenPlace& screen, MouseOutput& mouse, InjectorState& state) {
  if (state.LeftButtonDown) Emit(MouseFlags::LeftUp, state.LastEvent, screen, mouse, state);
}

}  // namespace raz
