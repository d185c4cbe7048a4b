#pragma once
// The GUI thread's message loop, which also waits on the precise timer: a tick runs onTick
// between two messages, so it never interrupts a handler and needs no lock.
#include <functional>

#include "platform/win32/precise_timer.h"

namespace raz::win32 {

// Runs until WM_QUIT and returns its exit code. A message for which preTranslate returns true
// has been handled and is not dispatched.
int RunMessageLoop(PreciseTimer& timer, const std::function<void()>& onTick,
                   const std::function<bool(const MSG&)>& preTranslate = {});

}  // namespace raz::win32
