#include "pointer/calibration_hooks.h"

namespace raz {

// Placeholders until the calibration procedures and the margin-key actions take these over.
void CalibrationStep(TForm1&) {}
void KeyCalibrationStep(TForm1&) {}
void KeyAction(TForm1&) {}
void FinishCalibration(TForm1&) {}

}  // namespace raz
