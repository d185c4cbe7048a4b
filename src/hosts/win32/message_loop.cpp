#include "hosts/win32/message_loop.h"

namespace raz::win32 {
namespace {

// Consumes a pending tick, if any, without waiting.
bool TickDue(const PreciseTimer& timer) {
  return timer.Running() && ::WaitForSingleObject(timer.Handle(), 0) == WAIT_OBJECT_0;
}

}  // namespace

int RunMessageLoop(PreciseTimer& timer, const std::function<void()>& onTick,
                   const std::function<bool(const MSG&)>& preTranslate) {
  for (;;) {
    const HANDLE handle = timer.Handle();
    const DWORD count = timer.Running() ? 1 : 0;
    // MWMO_INPUTAVAILABLE: also wake for input that an earlier peek saw but left queued.
    const DWORD woke = ::MsgWaitForMultipleObjectsEx(count, count != 0 ? &handle : nullptr,
                                                     INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (count != 0 && woke == WAIT_OBJECT_0) onTick();

    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
      if (!preTranslate || !preTranslate(msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
      // A long burst of messages must not hold the timer back.
      if (TickDue(timer)) onTick();
    }
  }
}

}  // namespace raz::win32
