#include "hosts/win32/host_timers.h"

namespace raz::win32 {
namespace {

// A build for comparison (RAZ_TIMER1_WM_TIMER): Timer1 on WM_TIMER like the other two, with
// the system's clamp to 10 ms and its tick.
#ifdef RAZ_TIMER1_WM_TIMER
constexpr bool kTimer1OnMessageTimer = true;
#else
constexpr bool kTimer1OnMessageTimer = false;
#endif

// WM_TIMER ids: Timer1's only while a modal loop runs, Timer2's and Timer3's always.
UINT_PTR MessageTimerId(TimerId id) { return static_cast<UINT_PTR>(id) + 1; }

std::size_t Index(TimerId id) { return static_cast<std::size_t>(id); }

}  // namespace

bool HostTimers::Runs(TimerId id) const {
  const TimerWatch& watch = watches_[Index(id)];
  return watch.known && watch.enabled && watch.interval > 0;
}

void HostTimers::Sync(TForm1& form) {
  for (TimerId id : kAllTimers) {
    if (watches_[Index(id)].Update(TimerOf(form, id))) Apply(id);
  }
}

void HostTimers::Apply(TimerId id) {
  const bool runs = Runs(id);
  const std::uint32_t interval = watches_[Index(id)].interval;
  if (id == TimerId::Timer1 && !kTimer1OnMessageTimer) {
    if (runs) {
      timer1_.Start(interval);
    } else {
      timer1_.Stop();
    }
    ApplyModalTimer1();
    return;
  }
  if (runs) {
    ::SetTimer(window_, MessageTimerId(id), interval, nullptr);
  } else {
    ::KillTimer(window_, MessageTimerId(id));
  }
}

void HostTimers::ApplyModalTimer1() {
  if (kTimer1OnMessageTimer) return;
  if (modalDepth_ > 0 && Runs(TimerId::Timer1)) {
    ::SetTimer(window_, MessageTimerId(TimerId::Timer1), watches_[Index(TimerId::Timer1)].interval,
               nullptr);
  } else {
    ::KillTimer(window_, MessageTimerId(TimerId::Timer1));
  }
}

void HostTimers::StopAll() {
  timer1_.Stop();
  for (TimerId id : kAllTimers) ::KillTimer(window_, MessageTimerId(id));
  watches_ = {};
}

void HostTimers::EnterModal() {
  if (modalDepth_++ == 0) ApplyModalTimer1();
}

void HostTimers::LeaveModal() {
  if (--modalDepth_ == 0) ApplyModalTimer1();
}

std::optional<TimerId> HostTimers::FromTimerMessage(UINT_PTR timerId) const {
  for (TimerId id : kAllTimers) {
    if (MessageTimerId(id) != timerId) continue;
    if (id == TimerId::Timer1 && modalDepth_ == 0 && !kTimer1OnMessageTimer) return std::nullopt;
    return id;
  }
  return std::nullopt;
}

}  // namespace raz::win32
