#pragma once
// The layout of the margin keys: loaded at start-up, derived from three calibration points.
#include "board/key_layout.h"
#include "storage/settings.h"
#include "vkeys/key_state.h"

namespace raz {

// Splits the left margin from the top of its first icon to the bottom of its last into nine
// equal bands.
void DeriveKeyBounds(float topY, float bottomY, KeyLayout& layout);

// Start-up: the three points from VKeyCali, the margins from the vkey switch, then the bands.
// Returns whether the hotkeys are switched on (the check mark of N4).
bool LoadKeyLayout(SettingsFile& ini, KeyCalibration& calibration, KeyLayout& layout);

// Stores the three points in VKeyCali, X before Y, each truncated toward zero.
void SaveKeyPoints(SettingsFile& ini, const KeyCalibration& calibration);

}  // namespace raz
