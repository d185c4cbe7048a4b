#pragma once
// An SVG picture of a run: the scenario's true pen strokes under the strokes the driver injected.
#include <ostream>
#include <vector>

#include "event_log.h"
#include "sim/scenario_player.h"

namespace raz::simcli {

struct PixelStroke {
  std::vector<sim::PixelPoint> points;
};

// Touch segments of the scenario in screen pixels, sampled every stepMicros up to endMicros
// (scenario time) or the scenario's end.
std::vector<PixelStroke> TrueStrokes(const sim::ScenarioPlayer& player, std::uint64_t stepMicros,
                                     std::uint64_t endMicros);
// Left-button strokes rebuilt from the injected events: down, moves, up.
std::vector<PixelStroke> InjectedStrokes(const std::vector<LoggedMouseEvent>& events);

void WritePlot(std::ostream& svg, int width, int height, const std::vector<PixelStroke>& truth,
               const std::vector<PixelStroke>& injected,
               const std::vector<LoggedMouseEvent>& events);

}  // namespace raz::simcli
