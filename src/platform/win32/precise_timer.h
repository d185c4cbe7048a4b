#pragma once
// A periodic timer finer than WM_TIMER, which cannot go below 10 ms and in practice ticks at
// the 15.6 ms system clock. It is a waitable timer the message loop waits on (message_loop.h),
// so its ticks run on the GUI thread between messages, never inside another handler.
#include <cstdint>

#include "platform/win32/unique_handles.h"

namespace raz::win32 {

class PreciseTimer {
 public:
  PreciseTimer();

  // Starts or restarts the period; the first tick comes one interval from now.
  void Start(std::uint32_t intervalMs);
  void Stop();

  bool Running() const { return running_; }
  std::uint32_t Interval() const { return interval_; }
  // False when the system refused a high-resolution timer and a plain one stands in.
  bool HighResolution() const { return highResolution_; }
  HANDLE Handle() const { return timer_.Get(); }

 private:
  UniqueHandle timer_;
  bool highResolution_ = false;
  bool running_ = false;
  std::uint32_t interval_ = 0;
};

}  // namespace raz::win32
