#pragma once
// All process-wide state of the driver, one value per subsystem. The application owns one
// DriverState; the handlers hand each stage its part. A test builds a fresh one.
#include <cstdint>

#include "base/points.h"
#include "board/board_state.h"
#include "board/key_layout.h"
#include "calibration/calibration_state.h"
#include "pointer/pointer_state.h"
#include "shell/tray.h"
#include "vkeys/key_state.h"

namespace raz {

class Display;

struct ScreenState {
  std::int32_t ScreenWidth = 0;
  std::int32_t ScreenHeight = 0;
  ScreenSize Size() const { return {ScreenWidth, ScreenHeight}; }
};

struct DriverState {
  PenSettings pen;
  HoldTarget holdTarget;
  ScreenState screen;
  CalibrationState calibration;
  LinkState link;
  ReaderState reader;
  DecoderState decoder;
  InterpolationState interpolation;
  PenSample sample;
  KeyPlace keyPlace;
  PointerState pointer;
  InjectorState injector;
  KeyLayout keys;
  KeyCalibration keyCalibration;
  ClientLink client;
  TrayIconState tray;
  bool RateMeasurement = false;  // Button4 starts the report-rate lines of Memo1, Button5 ends them
};

// A screen or key calibration is collecting points: the transform is bypassed and no mouse
// input is issued.
inline bool IsCalibrating(const DriverState& state) {
  return state.calibration.Tour.CalibrationActive || state.keyCalibration.KeyCalibrationActive;
}

// Re-reads the display; the size and the mouse scales change only when both resolutions are
// non-zero.
void RefreshScreen(ScreenState& screen, Display& display);

}  // namespace raz
