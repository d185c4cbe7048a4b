#pragma once
// A main window over a headless platform with a 1024 x 768 screen, for driving the pen state
// machine and the injector sample by sample.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <vector>

#include "app/driver_state.h"
#include "app/form1.h"
#include "platform/mouse_output.h"
#include "pointer/mouse_injection.h"
#include "pointer/pen_state_machine.h"
#include "support/test_platform.h"

namespace raz {

inline void PrintTo(const MouseEventRecord& e, std::ostream* os) {
  *os << "{flags 0x" << std::hex << e.flags << std::dec << ", " << e.dx << ", " << e.dy << "}";
}

namespace test {

inline constexpr std::uint32_t kAbs = MouseFlags::Absolute;

struct PenRig {
  PenRig() { RefreshScreen(state->screen, tp.display); }

  // Puts a sample in place with strong levels and runs the state machine on it.
  void Feed(std::int32_t status, std::int32_t x, std::int32_t y, std::int32_t levelX = 100,
            std::int32_t levelY = 100) {
    PenSample& s = state->sample;
    s.PenStatus = status;
    s.X = x;
    s.Y = y;
    s.LevelX = levelX;
    s.LevelY = levelY;
    RunPenStateMachine(form);
  }
  void Touch(std::int32_t x, std::int32_t y) { Feed(PenStatusCode::Touch, x, y); }
  void Hover(std::int32_t x, std::int32_t y) { Feed(PenStatusCode::Hover, x, y); }
  void Right(std::int32_t x, std::int32_t y) { Feed(PenStatusCode::RightButton, x, y); }
  void NoPen() { Feed(PenStatusCode::NoPen, state->sample.X, state->sample.Y); }

  // The event as the injector emits it for a pixel of the 1024 x 768 screen.
  static MouseEventRecord At(std::uint32_t flags, std::int32_t x, std::int32_t y) {
    return {flags | kAbs, ToAbsolute(x, 1024), ToAbsolute(y, 768)};
  }

  std::vector<MouseEventRecord>& events() { return tp.mouse.events; }
  // Events emitted since the last call.
  std::vector<MouseEventRecord> TakeEvents() {
    std::vector<MouseEventRecord> taken;
    taken.swap(tp.mouse.events);
    return taken;
  }

  TestPlatform tp;
  std::unique_ptr<DriverState> state = std::make_unique<DriverState>();
  TForm1 form{*state, tp.platform};
  PointerState& pointer = state->pointer;
};

}  // namespace test
}  // namespace raz
