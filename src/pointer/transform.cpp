#include "pointer/transform.h"

#include "app/driver_state.h"

namespace raz {

// The piecewise model arrives with the pointer emulation; until then start-up keeps the
// model in its initial state and positions pass through unchanged.
void BuildCalibrationModel(CalibrationModel&, const std::array<PointF, kCalibrationPointCount>&) {}

void MapToScreen(DriverState&) {}

}  // namespace raz
