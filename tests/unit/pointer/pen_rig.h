#pragma once
// A main window over a headless platform with a 1024 x 768 screen, for driving the pen state
// machine and the injector sample by sample.
#include <cstdint>
#include <memory>
#include <ostream>
#include <utility>
#include <vector>

#include "app/driver_state.h"
#include "app/form1.h"
#include "pointer/mouse_injection.h"
#include "pointer/pen_state_machine.h"
#include "support/test_platform.h"

namespace raz {

inline void PrintTo(const MouseEventRecord& e, std::ostream* os) {
  *os << "{flags 0x" << std::hex << e.flags << std::dec << ", " << e.dx << ", " << e.dy << "}";
}

namespace test {

using Events = std::vector<MouseEventRecord>;

struct PenRig {
  PenRig() { RefreshScreen(state->screen, tp.display); }

  // Puts a fresh sample in place, strong unless told otherwise, and runs the state machine on
  // it; `fault` names a flag the board raised for this sample.
  void Feed(std::int32_t status, std::int32_t x, std::int32_t y, std::int32_t levelX = 100,
            std::int32_t levelY = 100, std::int32_t PenSample::*fault = nullptr) {
    state->sample = {.PenStatus = status, .X = x, .Y = y, .LevelX = levelX, .LevelY = levelY};
    if (fault != nullptr) state->sample.*fault = 1;
    RunPenStateMachine(form);
  }
  void Touch(std::int32_t x, std::int32_t y) { Feed(PenStatusCode::Touch, x, y); }
  // Events emitted since the last call.
  Events Take() { return std::exchange(tp.mouse.events, {}); }

  // The events the injector emits, in order, for a pixel of the 1024 x 768 screen.
  static Events At(const std::vector<std::uint32_t>& flags, int x, int y) {
    Events events;
    for (std::uint32_t f : flags) {
      events.push_back({f | MouseFlags::Absolute, ToAbsolute(x, 1024), ToAbsolute(y, 768)});
    }
    return events;
  }

  TestPlatform tp;
  std::unique_ptr<DriverState> state = std::make_unique<DriverState>();
  TForm1 form{*state, tp.platform};
  PointerState& pointer = state->pointer;
};

}  // namespace test
}  // namespace raz
