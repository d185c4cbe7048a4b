#pragma once
// The scenario's desktop on a headless display: its monitors at the start, and the steps that
// switch one off or on or change its resolution.
#include "platform/headless/headless_devices.h"
#include "sim/scenario.h"

namespace raz::sim {

// The monitors of the settings, or one primary of the projection's screen size.
void SetUpDesktop(const SimSettings& settings, HeadlessDisplay& display);

// A Display step; any other step is ignored.
void PlayDisplayStep(const ScenarioStep& step, HeadlessDisplay& display);

// The projector's monitor as the scenario set it up: its top-left is where the scenario's
// pixels start on the virtual desktop.
ScreenRect ProjectorMonitor(const SimSettings& settings);

}  // namespace raz::sim
