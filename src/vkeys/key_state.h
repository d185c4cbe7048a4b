#pragma once
// State of the margin keys: the key calibration, the client application that receives the
// key commands, and the window that receives the hold messages.
#include <array>
#include <cstdint>
#include <string_view>

#include "base/points.h"
#include "platform/messenger.h"

namespace raz {

// The margins while the hotkeys are switched off: only raw X outside 0..28450 counts as margin.
inline constexpr std::int32_t kMarginLeftWhenOff = 0;
inline constexpr std::int32_t kMarginRightWhenOff = 28450;

struct KeyCalibration {
  PointF KeyPointLeftTop;
  PointF KeyPointLeftBottom;
  PointF KeyPointRightMiddle;
  bool KeyCalibrationActive = false;
  std::int32_t KeyCalibrationStep = 0;
};

struct ClientLink {
  WindowHandle ClientWindow = 0;
};

// The window the hold messages go to, found by class and caption (settings APPClassName and
// APPCaption), each a zero-terminated 100-byte buffer.
struct HoldTarget {
  std::array<char, 100> TargetWindowClass{};
  std::array<char, 100> TargetWindowCaption{};
};

// Copies at most 99 bytes and a terminating zero into a zero-filled buffer.
void CopyToWindowName(std::string_view value, std::array<char, 100>& buffer);

}  // namespace raz
