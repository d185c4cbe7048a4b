#pragma once
// The accuracy summary of a scenario run: how far the injected drag points lie from the true
// pen, at the same moment and from the nearest point of the true strokes.
#include <cstdint>
#include <ostream>
#include <vector>

#include "event_log.h"
#include "sim/projection.h"
#include "sim/scenario_player.h"

namespace raz::simcli {

// The nearest of many points without looking at each of them. The points come in time order
// along the pen's path, so neighbours in the list lie close together: a binary tree over runs
// of the list, each node with the box around its run, is built in one pass and lets a query
// skip every run whose box lies farther away than the best point found so far. The answer is
// the one a look at every point would give, to the last bit.
class NearestPoints {
 public:
  explicit NearestPoints(std::vector<sim::PixelPoint> points);

  // Distance to the nearest point; infinity when there are none.
  double Distance(sim::PixelPoint p) const;

 private:
  struct Box {
    double minX, minY, maxX, maxY;
  };
  void Search(std::size_t level, std::size_t index, sim::PixelPoint p, double& best) const;

  std::vector<sim::PixelPoint> points_;
  std::vector<std::vector<Box>> levels_;  // [0]: one box per leaf run; the last level: the root
};

// The touch points of the scenario in screen pixels, every stepMicros from its start up to
// endMicros (scenario time), in time order.
std::vector<sim::PixelPoint> TrueTouchPoints(const sim::ScenarioPlayer& player,
                                             std::uint64_t stepMicros, std::uint64_t endMicros);

// How far each drag point injected while the pen touched lies from the true pen at the same
// moment, and from the nearest point of the true strokes.
struct AccuracySample {
  std::vector<double> sameTime;
  std::vector<double> toPath;
};

// untilMicros: driver time at which the run stopped; the true strokes are taken up to there.
AccuracySample MeasureAccuracy(const std::vector<LoggedMouseEvent>& events,
                               const sim::ScenarioPlayer& player, std::uint64_t startMicros,
                               std::uint64_t untilMicros);

// One run's accuracy under each mapping, in that order.
struct MappedAccuracy {
  const char* mapping;
  AccuracySample sample;
};

// Writes the summary to err, one column per run; nothing when no run injected a drag point
// while the pen touched.
void ReportAccuracy(const std::vector<MappedAccuracy>& runs, std::ostream& err);

}  // namespace raz::simcli
