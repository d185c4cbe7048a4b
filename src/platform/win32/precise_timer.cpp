#include "platform/win32/precise_timer.h"

namespace raz::win32 {
namespace {

// Windows 10 1803 and later; older systems refuse the flag.
constexpr DWORD kHighResolution = 0x00000002;

}  // namespace

PreciseTimer::PreciseTimer() {
  timer_.Reset(::CreateWaitableTimerExW(nullptr, nullptr, kHighResolution, TIMER_ALL_ACCESS));
  highResolution_ = static_cast<bool>(timer_);
  if (!timer_) timer_.Reset(::CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS));
}

void PreciseTimer::Start(std::uint32_t intervalMs) {
  Stop();
  if (!timer_ || intervalMs == 0) return;
  LARGE_INTEGER due{};
  due.QuadPart = -static_cast<LONGLONG>(intervalMs) * 10000;  // relative, 100 ns units
  running_ = ::SetWaitableTimer(timer_.Get(), &due, static_cast<LONG>(intervalMs), nullptr,
                                nullptr, FALSE) != 0;
  interval_ = intervalMs;
}

void PreciseTimer::Stop() {
  if (!running_) return;
  ::CancelWaitableTimer(timer_.Get());
  // A tick that fell due before the cancel would otherwise fire after the next Start.
  ::WaitForSingleObject(timer_.Get(), 0);
  running_ = false;
}

}  // namespace raz::win32
