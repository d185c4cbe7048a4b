#pragma once
// How a host notices that a handler changed a timer: a change of Enabled or Interval restarts
// the countdown, writing the value a timer already has does not.
#include <array>
#include <cstdint>

#include "app/components.h"

namespace raz {

class TForm1;

struct TimerWatch {
  bool enabled = false;
  std::uint32_t interval = 0;
  bool known = false;

  // True when the host must (re)start or stop the timer.
  bool Update(const Timer& timer) {
    const bool changed = !known || timer.Enabled != enabled || timer.Interval != interval;
    enabled = timer.Enabled;
    interval = timer.Interval;
    known = true;
    return changed;
  }
};

enum class TimerId { Timer1 = 0, Timer2 = 1, Timer3 = 2 };
inline constexpr std::array<TimerId, 3> kAllTimers{TimerId::Timer1, TimerId::Timer2,
                                                    TimerId::Timer3};

Timer& TimerOf(TForm1& form, TimerId id);
void FireTimer(TForm1& form, TimerId id);

}  // namespace raz
