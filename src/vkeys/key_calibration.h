#pragma once
// The layout of the margin keys: loaded at start-up, switched on and off, and derived from
// the three points of the key calibration.
#include <cstdint>

#include "board/key_layout.h"
#include "storage/settings.h"
#include "vkeys/key_state.h"

namespace raz {

// Splits the left margin from the top of its first icon to the bottom of its last into nine
// equal bands.
void DeriveKeyBounds(float topY, float bottomY, KeyLayout& layout);

// Whether points give a layout at all: the right margin lies right of the left one by at least
// half the board's coded width, and the last icon below the first. Missing points (all 0),
// equal, reversed or too close ones do not, and would otherwise put (nearly) every sample in a
// margin.
bool IsUsableKeyLayout(std::int32_t leftTopX, std::int32_t leftTopY, std::int32_t leftBottomY,
                       std::int32_t rightMiddleX);

// The margins of the hotkeys switched on with these points, or switched off; points that
// give no layout count as switched off, so the pen works everywhere.
void SetKeyMargins(bool keysOn, const KeyCalibration& points, KeyLayout& layout);

// Start-up: the three points from VKeyCali, the margins from the vkey switch, then the bands.
// Returns whether the hotkeys are switched on (the check mark of N4).
bool LoadKeyLayout(SettingsFile& ini, KeyCalibration& calibration, KeyLayout& layout);

// The hotkey switch: writes vkey, then sets the margins (switched on: from the points stored
// in VKeyCali). A refused write throws before the margins change.
void SwitchHotkeys(SettingsFile& ini, bool on, KeyLayout& layout);

// Stores the three points in VKeyCali, X before Y, each truncated toward zero. All or nothing:
// a refused write puts back the keys written before it and throws SettingsWriteError.
void SaveKeyPoints(SettingsFile& ini, const KeyCalibration& calibration);

// The key calibration: three points, each taken on a touch with LevelX above the signal level.
enum class KeyCalibrationOutcome {
  Ignored,      // too weak a touch
  FirstTaken,   // the left margin's top corner; the second prompt is due
  SecondRetry,  // stored, but not more than 100 below the first point
  SecondTaken,  // the bottom corner; the third prompt is due
  ThirdRetry,   // stored, but the margins would be too close together, or reversed
  Finished,     // all three: save them, then FinishKeyCalibration
};

void StartKeyCalibration(KeyCalibration& calibration);

// One step, for every fifth continuing touch sample while the key calibration runs, with the
// sample's raw board position.
KeyCalibrationOutcome KeyCalibrationStep(std::int32_t levelX, PointF raw,
                                         KeyCalibration& calibration);

// The layout from the three points, whatever the hotkey switch says; the calibration ends.
void FinishKeyCalibration(KeyCalibration& calibration, KeyLayout& layout);

// Esc: the calibration ends and the points in force before it come back; the layout was never
// touched.
void CancelKeyCalibration(KeyCalibration& calibration);

}  // namespace raz
