#pragma once
#include <string>
#include <vector>

#include "base/points.h"

namespace raz {

// One monitor of the desktop as the system reports it.
struct MonitorInfo {
  std::string Name;  // the system's device name, "\\.\DISPLAY2"
  ScreenRect Bounds;
  bool Primary = false;
  bool operator==(const MonitorInfo&) const = default;
};

// The displays. The process is per-monitor DPI aware: every figure is in physical pixels.
class Display {
 public:
  virtual ~Display() = default;
  // Resolution of the primary display in pixels (0 when it cannot be read).
  virtual int HorizontalResolution() = 0;
  virtual int VerticalResolution() = 0;
  // Every monitor of the desktop, in the system's order; empty when they cannot be read.
  virtual std::vector<MonitorInfo> Monitors() = 0;
};

}  // namespace raz
