#pragma once
// Wall time from the performance counter: microseconds since the clock was made.
#include <cstdint>

#include "platform/clock.h"
#include "platform/win32/win32_api.h"

namespace raz::win32 {

class Win32Clock : public Clock {
 public:
  Win32Clock() {
    ::QueryPerformanceFrequency(&frequency_);
    ::QueryPerformanceCounter(&start_);
  }

  std::uint64_t NowMicros() const override {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    const auto ticks = static_cast<std::uint64_t>(now.QuadPart - start_.QuadPart);
    const auto perSecond = static_cast<std::uint64_t>(frequency_.QuadPart);
    // Split so that ticks * 1e6 cannot overflow however long the process runs.
    return ticks / perSecond * 1'000'000 + ticks % perSecond * 1'000'000 / perSecond;
  }

 private:
  LARGE_INTEGER frequency_{};
  LARGE_INTEGER start_{};
};

}  // namespace raz::win32
