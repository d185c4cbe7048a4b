#pragma once

namespace raz {

// Resolution of the primary display in pixels (0 when it cannot be read).
class Display {
 public:
  virtual ~Display() = default;
  virtual int HorizontalResolution() = 0;
  virtual int VerticalResolution() = 0;
};

}  // namespace raz
