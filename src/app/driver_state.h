#pragma once
// All process-wide state of the driver, one value per subsystem. The app creates one
// DriverState and hands it by reference to every handler; a test builds a fresh one.
#include <cstdint>

#include "board/board_state.h"
#include "calibration/calibration_state.h"
#include "pointer/pointer_state.h"
#include "storage/settings.h"
#include "vkeys/key_layout.h"

namespace raz {

struct ScreenState {
  std::int32_t ScreenWidth = 0;
  std::int32_t ScreenHeight = 0;
  float MouseScaleX = 0.0f;
  float MouseScaleY = 0.0f;
};

struct DriverState {
  Settings settings;
  ScreenState screen;
  StoredCalibration calibration;
  CalibrationModel model;
  CalibrationTour tour;
  BoardLinkState link;
  DecoderState decoder;
  PenSample sample;
  InterpolationState interpolation;
  PointerState pointer;
  KeyLayout keys;
  KeyCalibration keyCalibration;
  ClientLink client;
};

// A screen or key calibration is collecting points: the transform is bypassed and no mouse
// input is issued.
inline bool IsCalibrating(const DriverState& state) {
  return state.tour.CalibrationActive != 0 || state.keyCalibration.KeyCalibrationActive != 0;
}

// Re-reads the display; the mouse scales change only when both resolutions are non-zero.
class Display;
void RefreshScreen(ScreenState& screen, Display& display);

}  // namespace raz
