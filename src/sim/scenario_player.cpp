#include "sim/scenario_player.h"

#include <algorithm>

#include "sim/margin_keys.h"

namespace raz::sim {
namespace {

constexpr std::int32_t kCalibrationMargin = 50;

ScenarioPoint Lerp(ScenarioPoint from, ScenarioPoint to, double fraction) {
  return {from.x + (to.x - from.x) * fraction, from.y + (to.y - from.y) * fraction, from.units};
}

ScenarioPoint Cells(CellPoint point) { return {point.x, point.y, Units::Cells}; }

// A picture of another size shown over the first one's area, its shape kept: the first
// picture's pixels per pixel of it, and the bars beside it in the first picture's pixels.
struct Letterbox {
  double k, barX, barY;
};

Letterbox Fit(ScreenSize first, ScreenSize now) {
  const double k = std::min(static_cast<double>(first.Width) / now.Width,
                            static_cast<double>(first.Height) / now.Height);
  return {k, (first.Width - now.Width * k) / 2, (first.Height - now.Height * k) / 2};
}

}  // namespace

std::vector<ScenarioPoint> CalibrationTargets(std::int32_t screenWidth, std::int32_t screenHeight) {
  constexpr double kPixelCentre = 0.5;
  const double m = kCalibrationMargin + kPixelCentre;
  const double w = screenWidth - kCalibrationMargin + kPixelCentre;
  const double h = screenHeight - kCalibrationMargin + kPixelCentre;
  const double midX = screenWidth / 2 + kPixelCentre;
  const double midY = screenHeight / 2 + kPixelCentre;
  return {{m, m}, {midX, m}, {w, m}, {w, midY}, {w, h}, {midX, h}, {m, h}, {m, midY}, {midX, midY}};
}

ScenarioPlayer::ScenarioPlayer(const Scenario& scenario)
    : projection_(scenario.settings.projection),
      firstPicture_{scenario.settings.projection.screenWidth,
                    scenario.settings.projection.screenHeight},
      picture_(firstPicture_) {
  for (const ScenarioStep& step : scenario.steps) AddStep(step, scenario);
}

// The projector shows a picture of any size over the area of the first one, its shape kept:
// the same width or height, in the middle, bars beside it.
ScenarioPoint ScenarioPlayer::OnFirstPicture(ScenarioPoint point) const {
  if (point.units == Units::Cells || picture_ == firstPicture_) return point;
  const Letterbox f = Fit(firstPicture_, picture_);
  return {point.x * f.k + f.barX, point.y * f.k + f.barY, point.units};
}

void ScenarioPlayer::AddStep(const ScenarioStep& step, const Scenario& scenario) {
  switch (step.kind) {
    case StepKind::Pen:
    case StepKind::Stroke:
      AddPen(step.contact, OnFirstPicture(step.from), OnFirstPicture(step.to),
             step.durationMicros, step.pressure);
      break;
    case StepKind::Wait:
      end_ += step.durationMicros;
      break;
    case StepKind::Unplug:
    case StepKind::Plug:
      AddLink(step.kind == StepKind::Plug, 0, 0);
      end_ += step.durationMicros;
      break;
    case StepKind::ReadFail:
      AddLink(LinkAt(end_).plugged, step.count, 0);
      break;
    case StepKind::ShortRead:
      AddLink(LinkAt(end_).plugged, 0, step.count);
      break;
    case StepKind::TapKey:
      AddTouches({Cells(KeyCentre(scenario.settings.keys, step.margin, step.icon))}, step);
      break;
    case StepKind::Calibrate: {
      std::vector<ScenarioPoint> targets;
      for (const ScenarioPoint& target : CalibrationTargets(picture_.Width, picture_.Height)) {
        targets.push_back(OnFirstPicture(target));
      }
      AddTouches(targets, step);
      break;
    }
    case StepKind::Display:
      if (step.change == DisplayChange::Resize &&
          step.monitor == scenario.settings.desktop.projector) {
        picture_ = step.size;
        pictures_.push_back({end_, picture_});
      }
      actions_.push_back({end_, step});
      break;
    case StepKind::Menu:
    case StepKind::Client:
      actions_.push_back({end_, step});
      break;
    case StepKind::KeyCalibrate: {
      std::vector<ScenarioPoint> points;
      for (const CellPoint& point : KeyCalibrationPoints(scenario.settings.keys)) {
        points.push_back(Cells(point));
      }
      AddTouches(points, step);
      break;
    }
  }
}

void ScenarioPlayer::AddPen(PenContact contact, ScenarioPoint from, ScenarioPoint to,
                            std::uint64_t duration, double pressure) {
  segments_.push_back({end_, end_ + duration, contact, from, to, pressure});
  end_ += duration;
}

void ScenarioPlayer::AddTouches(const std::vector<ScenarioPoint>& points,
                                const ScenarioStep& step) {
  for (const ScenarioPoint& point : points) {
    AddPen(PenContact::Touch, point, point, step.holdMicros, step.pressure);
    AddPen(PenContact::Away, point, point, step.gapMicros, step.pressure);
  }
}

void ScenarioPlayer::AddLink(bool plugged, std::uint32_t readFailures, std::uint32_t shortReads) {
  LinkCondition after = links_.empty() ? LinkCondition{} : links_.back().after;
  if (after.plugged && !plugged) ++after.unplugCount;
  after.plugged = plugged;
  after.readFailures += readFailures;
  after.shortReads += shortReads;
  links_.push_back({end_, after});
}

PenState ScenarioPlayer::PenAt(std::uint64_t micros) const {
  // The last segment that has started; of several starting together, the last one written.
  const auto later =
      std::upper_bound(segments_.begin(), segments_.end(), micros,
                       [](std::uint64_t t, const Segment& s) { return t < s.start; });
  if (later == segments_.begin()) return {};
  const Segment& segment = *std::prev(later);
  if (segment.contact == PenContact::Away) return {};
  ScenarioPoint point = segment.to;
  if (micros < segment.end) {
    const double fraction = static_cast<double>(micros - segment.start) /
                            static_cast<double>(segment.end - segment.start);
    // Both ends in one unit: move straight in that unit. Mixed ends move straight on the board.
    point = segment.from.units == segment.to.units
                ? Lerp(segment.from, segment.to, fraction)
                : Lerp(Cells(ToBoard(segment.from)), Cells(ToBoard(segment.to)), fraction);
  }
  return {segment.contact, ToBoard(point), segment.pressure};
}

LinkCondition ScenarioPlayer::LinkAt(std::uint64_t micros) const {
  const auto later = std::upper_bound(links_.begin(), links_.end(), micros,
                                      [](std::uint64_t t, const LinkEvent& e) { return t < e.at; });
  return later == links_.begin() ? LinkCondition{} : std::prev(later)->after;
}

PixelPoint ScenarioPlayer::ToScreenAt(CellPoint board, std::uint64_t micros) const {
  const PixelPoint first = projection_.ToScreen(board);
  ScreenSize now = firstPicture_;
  for (const auto& [from, picture] : pictures_) {
    if (from <= micros) now = picture;
  }
  if (now == firstPicture_) return first;
  const Letterbox f = Fit(firstPicture_, now);
  return {(first.x - f.barX) / f.k, (first.y - f.barY) / f.k};
}

CellPoint ScenarioPlayer::ToBoard(ScenarioPoint point) const {
  if (point.units == Units::Cells) return {point.x, point.y};
  return projection_.ToBoard({point.x, point.y});
}

}  // namespace raz::sim
