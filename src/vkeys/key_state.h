#pragma once
// State of the margin keys: the key calibration, the client application that receives the
// key commands, and the window that receives the hold messages.
#include <array>
#include <cstdint>
#include <string>
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
  // The points in force when the running key calibration started, for Esc to put back.
  std::array<PointF, 3> PointsBefore{};
};

struct ClientLink {
  WindowHandle ClientWindow = 0;
};

// The window the hold messages go to, found by class and caption (settings APPClassName and
// APPCaption), as the user wrote them, at most 99 characters each.
struct HoldTarget {
  std::string TargetWindowClass;
  std::string TargetWindowCaption;
};

inline constexpr std::size_t kMaxWindowNameCharacters = 99;

// The first 99 characters (not bytes) of a window class or caption: a Chinese caption keeps
// whole characters.
std::string WindowName(std::string_view value);

}  // namespace raz
