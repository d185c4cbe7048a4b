#pragma once
#include <cstdint>

namespace raz {

// Time for hosts and simulated devices; the driver's stages never read it themselves.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint64_t NowMicros() const = 0;
};

}  // namespace raz
