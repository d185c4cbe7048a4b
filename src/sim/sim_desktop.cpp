#include "sim/sim_desktop.h"

namespace raz::sim {

void SetUpDesktop(const SimSettings& settings, HeadlessDisplay& display) {
  if (settings.desktop.monitors.empty()) {
    display.Set(settings.projection.screenWidth, settings.projection.screenHeight);
  } else {
    display.SetMonitors(ListedMonitors(settings.desktop));
  }
}

void PlayDisplayStep(const ScenarioStep& step, HeadlessDisplay& display) {
  if (step.kind != StepKind::Display) return;
  switch (step.change) {
    case DisplayChange::Off:
    case DisplayChange::On:
      display.SwitchMonitor(step.monitor, step.change == DisplayChange::On);
      break;
    case DisplayChange::Resize:
      display.ResizeMonitor(step.monitor, step.size);
      break;
  }
}

ScreenRect ProjectorMonitor(const SimSettings& settings) {
  const SimDesktop& desktop = settings.desktop;
  if (desktop.monitors.empty()) {
    return {0, 0, settings.projection.screenWidth, settings.projection.screenHeight};
  }
  return desktop.monitors[desktop.projector].bounds;
}

}  // namespace raz::sim
