#pragma once
// All process-wide state of the driver, one value per subsystem. The application owns one
// DriverState; the handlers hand each stage its part. A test builds a fresh one.
#include <cstdint>
#include <string>
#include <vector>

#include "base/points.h"
#include "board/board_state.h"
#include "board/key_layout.h"
#include "calibration/calibration_state.h"
#include "platform/display.h"
#include "pointer/mouse_injection.h"
#include "pointer/pointer_state.h"
#include "shell/tray.h"
#include "vkeys/key_state.h"

namespace raz {

// The monitor the board's picture is on: the one the user chose (BoardMonitor) while the
// system lists it, otherwise the primary. Every pixel of the driver is a pixel of this monitor.
struct ScreenState {
  std::int32_t ScreenWidth = 0;
  std::int32_t ScreenHeight = 0;
  std::string BoardMonitor;  // the user's choice by device name; empty for the primary
  ScreenRect Monitor;        // the monitor in use, on the virtual desktop
  ScreenRect Desktop;        // the bounding box of every monitor
  bool OnOtherMonitor = false;        // the monitor in use is not the primary
  std::vector<MonitorInfo> Monitors;  // as the system listed them last
  int FindingTicks = 0;  // while the crosses to find it by touch are up: device watches left
  ScreenSize Size() const { return {ScreenWidth, ScreenHeight}; }
  ScreenPlace Place() const;
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
  PenResponse penResponse = PenResponse::Classic;  // PenResponse of VaziZod.ini
  PollPace pace;
  bool RateMeasurement = false;  // Button4 starts the report-rate lines of Memo1, Button5 ends them
};

// A screen or key calibration is collecting points: the transform is bypassed and no mouse
// input is issued.
inline bool IsCalibrating(const DriverState& state) {
  return state.calibration.Tour.CalibrationActive || state.keyCalibration.KeyCalibrationActive;
}

// Re-reads the displays and finds the board's monitor again. A monitor, or a primary, that
// reads 0 on an axis keeps the size it had.
void RefreshScreen(ScreenState& screen, Display& display);

// The listed monitor of that device name (the system's names ignore case); null for none.
const MonitorInfo* FindMonitor(const std::vector<MonitorInfo>& monitors, std::string_view name);

// The smallest rectangle holding every monitor: the system's virtual desktop.
ScreenRect DesktopBounds(const std::vector<MonitorInfo>& monitors);

}  // namespace raz
