// PreciseTimer and the message loop that waits on it.
#include "check_harness.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/precise_timer.h"

namespace raz::win32::checks {
namespace {

std::string RunStoppedTimerStaysQuiet() {
  PreciseTimer timer;
  timer.Start(1);
  ::Sleep(10);  // several ticks fall due; one stays signalled
  timer.Stop();
  if (timer.Running()) return "still running";
  return ::WaitForSingleObject(timer.Handle(), 30) == WAIT_TIMEOUT ? std::string()
                                                                    : "ticked after Stop";
}

std::string RunLoopTicksAndQuits() {
  PreciseTimer timer;
  timer.Start(2);
  int ticks = 0;
  const int code = RunMessageLoop(timer, [&] {
    if (++ticks == 20) ::PostQuitMessage(7);
  });
  timer.Stop();
  if (auto p = Expect(code, 7, "exit code"); !p.empty()) return p;
  return Expect(ticks, 20, "ticks");
}

// A posted message and a tick interleave: neither starves the other.
std::string RunLoopDispatchesMessagesBetweenTicks() {
  PreciseTimer timer;
  timer.Start(2);
  int ticks = 0;
  int posted = 0;
  ::PostThreadMessageW(::GetCurrentThreadId(), WM_APP, 0, 0);
  const int code = RunMessageLoop(timer, [&] {
    ++ticks;
    // Thread messages have no window: the loop still takes them off the queue.
    MSG msg;
    if (::PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_NOREMOVE)) ++posted;
    if (ticks == 10) ::PostQuitMessage(0);
  });
  timer.Stop();
  if (code != 0) return "exit code";
  return posted <= 1 ? std::string() : "a posted message waited for several ticks";
}

std::string RunRestartChangesPeriod() {
  PreciseTimer timer;
  timer.Start(50);
  timer.Start(2);
  const DWORD start = ::GetTickCount();
  const bool ticked = ::WaitForSingleObject(timer.Handle(), 40) == WAIT_OBJECT_0;
  const DWORD waited = ::GetTickCount() - start;
  timer.Stop();
  if (!ticked) return "no tick within 40 ms after a restart at 2 ms";
  return Expect(timer.Interval(), std::uint32_t{2}, "interval") +
         (waited > 30 ? "first tick took " + std::to_string(waited) + " ms" : "");
}

}  // namespace

std::vector<Case> TimerCases() {
  return {
      {"PreciseTimer_Stop_DropsATickThatWasAlreadyDue", RunStoppedTimerStaysQuiet},
      {"MessageLoop_RunsTicksUntilQuitAndReturnsItsCode", RunLoopTicksAndQuits},
      {"MessageLoop_TakesMessagesBetweenTicks", RunLoopDispatchesMessagesBetweenTicks},
      {"PreciseTimer_Restart_TakesTheNewIntervalAtOnce", RunRestartChangesPeriod},
  };
}

}  // namespace raz::win32::checks
