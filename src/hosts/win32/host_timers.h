#pragma once
// The main window's three timers as the host runs them: Timer2 and Timer3 as WM_TIMER,
// Timer1 as the precise timer the message loop waits on. A handler that changes Enabled or
// Interval restarts the timer at once; writing the value it already has changes nothing.
#include <array>
#include <optional>

#include "app/timer_watch.h"
#include "platform/win32/precise_timer.h"
#include "platform/win32/win32_api.h"

namespace raz::win32 {

class HostTimers {
 public:
  void Attach(HWND window) { window_ = window; }
  void Sync(TForm1& form);
  void StopAll();

  // Menus, message boxes and window drags run loops of their own that never wait on the
  // precise timer; meanwhile Timer1 rides on WM_TIMER so the pen keeps working.
  void EnterModal();
  void LeaveModal();

  // The timer a WM_TIMER belongs to, if any.
  std::optional<TimerId> FromTimerMessage(UINT_PTR timerId) const;
  PreciseTimer& Precise() { return timer1_; }

 private:
  bool Runs(TimerId id) const;
  void Apply(TimerId id);
  void ApplyModalTimer1();

  HWND window_ = nullptr;
  std::array<TimerWatch, 3> watches_{};
  PreciseTimer timer1_;
  int modalDepth_ = 0;
};

// Marks a modal loop for its scope.
class ModalScope {
 public:
  explicit ModalScope(HostTimers& timers) : timers_(timers) { timers_.EnterModal(); }
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;
  ~ModalScope() { timers_.LeaveModal(); }

 private:
  HostTimers& timers_;
};

}  // namespace raz::win32
