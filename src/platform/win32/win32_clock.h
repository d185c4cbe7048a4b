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

  std::uint64_t NowMicros() const override { return ToMicros(Counter() - start_.QuadPart); }

  // The same instant on the counter's own scale, which every process of the machine shares:
  // what the latency measurement compares across processes.
  std::uint64_t SystemMicros(std::uint64_t micros) const {
    return micros + ToMicros(start_.QuadPart);
  }

 private:
  static std::int64_t Counter() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
  }
  std::uint64_t ToMicros(std::int64_t counts) const {
    const auto ticks = static_cast<std::uint64_t>(counts);
    const auto perSecond = static_cast<std::uint64_t>(frequency_.QuadPart);
    // Split so that ticks * 1e6 cannot overflow however long the process runs.
    return ticks / perSecond * 1'000'000 + ticks % perSecond * 1'000'000 / perSecond;
  }

  LARGE_INTEGER frequency_{};
  LARGE_INTEGER start_{};
};

}  // namespace raz::win32
