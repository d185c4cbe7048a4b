#pragma once
// The pen state machine and the injector wired as a poll tick wires them, on a 1024 x 768
// screen, for driving them sample by sample. No form, no disk.
#include <cstdint>
#include <ostream>
#include <utility>
#include <vector>

#include "app/poll_tick.h"
#include "platform/headless/headless_devices.h"
#include "pointer/mouse_injection.h"
#include "pointer/pen_state_machine.h"

namespace raz {

inline void PrintTo(const MouseEventRecord& e, std::ostream* os) {
  *os << "{flags 0x" << std::hex << e.flags << std::dec << ", " << e.dx << ", " << e.dy << "}";
}

namespace test {

using Events = std::vector<MouseEventRecord>;

struct PenRig {
  static constexpr ScreenSize kScreen{1024, 768};

  // Puts a fresh sample in place, strong unless told otherwise, runs the state machine on it
  // and injects what it decides; `fault` names a flag the board raised for this sample.
  void Feed(PenStatus status, std::int32_t x, std::int32_t y, std::int32_t levelX = 100,
            std::int32_t levelY = 100, bool PenSample::*fault = nullptr) {
    sample = {.Status = status, .X = x, .Y = y, .LevelX = levelX, .LevelY = levelY};
    if (fault != nullptr) sample.*fault = true;
    // Judged as a whole frame would be: a weak sample reaches the state machine too.
    sample.Verdict = JudgeReport(sample, ReportFraming::Framed, true, pointer);
    step = RunPenStateMachine(sample, context, pointer);
    Inject(step.Command, {sample.Verdict, context.InKeyMargin, kScreen}, mouse, injector);
    if (step.ReleaseHeldButton) ReleaseLeftButton(kScreen, mouse, injector);
  }
  void Touch(std::int32_t x, std::int32_t y) { Feed(PenStatus::Touch, x, y); }
  // Events emitted since the last call.
  Events Take() { return std::exchange(mouse.events, {}); }

  // The events the injector emits, in order, for a pixel of the screen.
  static Events At(const std::vector<std::uint32_t>& flags, int x, int y) {
    Events events;
    for (std::uint32_t f : flags) {
      events.push_back(
          {f | MouseFlags::Absolute, ToAbsolute(x, kScreen.Width), ToAbsolute(y, kScreen.Height)});
    }
    return events;
  }

  HeadlessMouseOutput mouse;
  PenContext context;
  PenSample sample;
  PointerState pointer;
  InjectorState injector;
  PenStep step;
};

}  // namespace test
}  // namespace raz
