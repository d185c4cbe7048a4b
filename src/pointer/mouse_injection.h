#pragma once
// The one place where pen actions become system mouse input.
#include <cstdint>

#include "base/points.h"
#include "platform/mouse_output.h"
#include "pointer/pointer_state.h"

namespace raz {

// The absolute coordinate (0..65535) that the system maps back onto exactly this pixel,
// (coordinate * size) >> 16 being its rule. A screen of no size puts everything at 0.
std::int32_t ToAbsolute(std::int32_t pixel, std::int32_t screenSize);

// The monitor the board's picture is on, and how absolute input reaches it. On the primary
// monitor the coordinates span the primary, as they always have; on any other they span the
// virtual desktop, which holds every monitor.
struct ScreenPlace {
  ScreenPlace(ScreenSize size = {}) : Size(size) {}  // the primary monitor of this size
  ScreenSize Size;
  ScreenPoint Origin;  // the monitor's top-left on the virtual desktop
  ScreenRect Desktop;
  bool AcrossDesktop = false;
};

struct InjectContext {
  ReportVerdict Verdict = ReportVerdict::WeakSignal;  // only DrivesPen injects anything
  bool InKeyMargin = false;  // presses become key actions, moves and clicks are swallowed
  ScreenPlace Screen;
};

enum class InjectOutcome {
  Done,               // the events, if any, were emitted
  KeyAction,          // a press in the key margin: the key action runs instead of a click
  FinishCalibration,  // action 5: the tour's last point was taken
};

// Emits the events of one action at a screen pixel.
InjectOutcome Inject(const PointerCommand& command, const InjectContext& context,
                     MouseOutput& mouse, InjectorState& state);

// Lets go of a left button the driver still holds, at the pixel of its last event.
void ReleaseLeftButton(const ScreenPlace& screen, MouseOutput& mouse, InjectorState& state);

// A button held while the board sends no new report for this long is let go: the pen's lift
// may have been lost with the reports (a cable pulled for a moment, a board that reset).
inline constexpr std::uint64_t kHeldButtonTimeoutMicros = 100'000;

inline bool ButtonHeldWithoutReports(const InjectorState& state, std::uint64_t lastReportMicros,
                                     std::uint64_t nowMicros) {
  return state.LeftButtonDown && nowMicros - lastReportMicros >= kHeldButtonTimeoutMicros;
}

}  // namespace raz
