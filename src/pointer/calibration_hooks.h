#pragma once
// Where the pointer emulation hands over to the calibration procedures and the margin keys.
// The bodies belong to those modules; until they arrive the calls do nothing.

namespace raz {

class TForm1;

// Every fifth continuing touch sample while the screen calibration collects points.
void CalibrationStep(TForm1& form);

// Every fifth continuing touch sample while the margin-key calibration collects points.
void KeyCalibrationStep(TForm1& form);

// A press that lands in the key margin, instead of a click.
void KeyAction(TForm1& form);

// Action code 5, issued after the ninth calibration point.
void FinishCalibration(TForm1& form);

}  // namespace raz
