#pragma once
// Wall time for the stand-in library: microseconds since the library was loaded, from the
// performance counter.
#include <windows.h>

#include <cstdint>

#include "platform/clock.h"

namespace raz::siusbxp {

class QpcClock : public Clock {
 public:
  QpcClock() {
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

}  // namespace raz::siusbxp
