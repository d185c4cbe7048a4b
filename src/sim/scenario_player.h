#pragma once
// Plays a scenario: the pen and the cable at any time, with time 0 at the scenario's start.
// Steps run one after the other; a step's duration moves the time on for the steps after it.
// Screen positions go through the scenario's projection at the moment they are played, so a
// stroke given in pixels follows a straight line on the screen, not on the board.
#include <cstdint>
#include <utility>
#include <vector>

#include "sim/pen_state.h"
#include "sim/projection.h"
#include "sim/scenario.h"

namespace raz::sim {

// Something the scenario does to the driver itself rather than to the pen: a menu command,
// a client's request or a change of the displays, at a time of the scenario.
struct ScenarioAction {
  std::uint64_t at = 0;
  ScenarioStep step;
};

class ScenarioPlayer : public PenSource {
 public:
  explicit ScenarioPlayer(const Scenario& scenario);

  PenState PenAt(std::uint64_t micros) const override;
  LinkCondition LinkAt(std::uint64_t micros) const override;

  // The time at which the last step has run out.
  std::uint64_t EndMicros() const { return end_; }
  const Projection& projection() const { return projection_; }
  // A board position as a pixel of the projector's picture in force at that time.
  PixelPoint ToScreenAt(CellPoint board, std::uint64_t micros) const;
  // Menu and client steps in scenario order, for a runner that drives the driver; the
  // stand-in library has no driver to drive and ignores them.
  const std::vector<ScenarioAction>& Actions() const { return actions_; }

 private:
  struct Segment {
    std::uint64_t start = 0;
    std::uint64_t end = 0;
    PenContact contact = PenContact::Away;
    ScenarioPoint from;
    ScenarioPoint to;
    double pressure = 1.0;
  };
  struct LinkEvent {
    std::uint64_t at = 0;
    LinkCondition after;  // the cable's condition from this event on
  };

  void AddStep(const ScenarioStep& step, const Scenario& scenario);
  void AddPen(PenContact contact, ScenarioPoint from, ScenarioPoint to, std::uint64_t duration,
              double pressure);
  void AddTouches(const std::vector<ScenarioPoint>& points, const ScenarioStep& step);
  void AddLink(bool plugged, std::uint32_t readFailures, std::uint32_t shortReads);
  CellPoint ToBoard(ScenarioPoint point) const;
  ScenarioPoint OnFirstPicture(ScenarioPoint point) const;

  Projection projection_;
  ScreenSize firstPicture_;
  ScreenSize picture_;  // the projector's picture as the steps so far left it
  std::vector<std::pair<std::uint64_t, ScreenSize>> pictures_;  // from when, which picture
  std::vector<Segment> segments_;
  std::vector<LinkEvent> links_;
  std::vector<ScenarioAction> actions_;
  std::uint64_t end_ = 0;
};

// The nine screen-calibration targets in the order the tour asks for them: corners, edge
// midpoints and centre, 50 pixels inside the screen. Each is the centre of the pixel its
// cross is drawn on, where a user's pen aims.
std::vector<ScenarioPoint> CalibrationTargets(std::int32_t screenWidth, std::int32_t screenHeight);

}  // namespace raz::sim
