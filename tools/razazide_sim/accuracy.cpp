#include "accuracy.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <limits>
#include <sstream>
#include <string>

namespace raz::simcli {
namespace {

constexpr std::size_t kLeafPoints = 8;

std::string Quantiles(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  auto at = [&](double q) { return values[static_cast<std::size_t>(q * (values.size() - 1))]; };
  std::ostringstream text;
  text.precision(3);
  text << "median " << at(0.5) << " px, p95 " << at(0.95) << " px, max " << values.back() << " px";
  return text.str();
}

}  // namespace

NearestPoints::NearestPoints(std::vector<sim::PixelPoint> points) : points_(std::move(points)) {
  if (points_.empty()) return;
  std::vector<Box> leaves;
  for (std::size_t first = 0; first < points_.size(); first += kLeafPoints) {
    const std::size_t last = std::min(first + kLeafPoints, points_.size());
    Box box{points_[first].x, points_[first].y, points_[first].x, points_[first].y};
    for (std::size_t i = first + 1; i < last; ++i) {
      box = {std::min(box.minX, points_[i].x), std::min(box.minY, points_[i].y),
             std::max(box.maxX, points_[i].x), std::max(box.maxY, points_[i].y)};
    }
    leaves.push_back(box);
  }
  levels_.push_back(std::move(leaves));
  while (levels_.back().size() > 1) {
    const std::vector<Box>& below = levels_.back();
    std::vector<Box> above;
    for (std::size_t i = 0; i < below.size(); i += 2) {
      const Box& a = below[i];
      const Box& b = i + 1 < below.size() ? below[i + 1] : a;
      above.push_back({std::min(a.minX, b.minX), std::min(a.minY, b.minY), std::max(a.maxX, b.maxX),
                       std::max(a.maxY, b.maxY)});
    }
    levels_.push_back(std::move(above));
  }
}

double NearestPoints::Distance(sim::PixelPoint p) const {
  double best = std::numeric_limits<double>::infinity();
  if (!levels_.empty()) Search(levels_.size() - 1, 0, p, best);
  return best;
}

// Squared distances, cheap, decide what to skip; std::hypot, as a look at every point would
// take it, gives the answer. The slack keeps a point whose hypot might still win from being
// skipped for a rounding of its square.
constexpr double kSlack = 1.0 + 1e-9;

void NearestPoints::Search(std::size_t level, std::size_t index, sim::PixelPoint p,
                           double& best) const {
  const double bound = best * best * kSlack;
  if (level == 0) {
    const std::size_t last = std::min((index + 1) * kLeafPoints, points_.size());
    for (std::size_t i = index * kLeafPoints; i < last; ++i) {
      const double dx = points_[i].x - p.x;
      const double dy = points_[i].y - p.y;
      if (dx * dx + dy * dy <= bound) best = std::min(best, std::hypot(dx, dy));
    }
    return;
  }
  // No point inside a box lies nearer than the box itself.
  const auto boxDistance = [&](std::size_t child) {
    const Box& b = levels_[level - 1][child];
    const double dx = std::max({b.minX - p.x, 0.0, p.x - b.maxX});
    const double dy = std::max({b.minY - p.y, 0.0, p.y - b.maxY});
    return dx * dx + dy * dy;
  };
  std::size_t near = 2 * index;
  std::size_t far = near + 1;
  const bool hasFar = far < levels_[level - 1].size();
  double nearDistance = boxDistance(near);
  double farDistance = hasFar ? boxDistance(far) : std::numeric_limits<double>::infinity();
  if (farDistance < nearDistance) {
    std::swap(near, far);
    std::swap(nearDistance, farDistance);
  }
  if (nearDistance <= best * best * kSlack) Search(level - 1, near, p, best);
  if (farDistance <= best * best * kSlack) Search(level - 1, far, p, best);
}

std::vector<sim::PixelPoint> TrueTouchPoints(const sim::ScenarioPlayer& player,
                                             std::uint64_t stepMicros, std::uint64_t endMicros) {
  std::vector<sim::PixelPoint> points;
  for (std::uint64_t t = 0; t <= endMicros; t += stepMicros) {
    const sim::PenState pen = player.PenAt(t);
    if (pen.contact == sim::PenContact::Touch) {
      points.push_back(player.ToScreenAt(pen.position, t));
    }
  }
  return points;
}

AccuracySample MeasureAccuracy(const std::vector<LoggedMouseEvent>& events,
                               const sim::ScenarioPlayer& player, std::uint64_t startMicros,
                               std::uint64_t untilMicros) {
  const std::uint64_t scenarioEnd =
      untilMicros > startMicros ? std::min(player.EndMicros(), untilMicros - startMicros) : 0;
  const NearestPoints truth(TrueTouchPoints(player, 1000, scenarioEnd));
  AccuracySample sample;
  bool down = false;
  for (const LoggedMouseEvent& e : events) {
    if (e.flags & MouseFlags::LeftDown) down = true;
    if (e.flags & MouseFlags::LeftUp) down = false;
    if (!down || !(e.flags & MouseFlags::Move)) continue;
    const auto t = static_cast<std::uint64_t>(e.timeMs * 1000.0);
    const sim::PenState pen = player.PenAt(t > startMicros ? t - startMicros : 0);
    if (pen.contact != sim::PenContact::Touch) continue;
    const sim::PixelPoint at = player.ToScreenAt(pen.position, t > startMicros ? t - startMicros : 0);
    const sim::PixelPoint injected{static_cast<double>(e.x), static_cast<double>(e.y)};
    sample.sameTime.push_back(std::hypot(at.x - injected.x, at.y - injected.y));
    sample.toPath.push_back(truth.Distance(injected));
  }
  return sample;
}

void ReportAccuracy(const std::vector<MappedAccuracy>& runs, std::ostream& err) {
  if (std::all_of(runs.begin(), runs.end(),
                  [](const MappedAccuracy& r) { return r.sample.sameTime.empty(); })) {
    return;
  }
  constexpr int kFirst = 46;
  constexpr int kColumn = 44;
  const auto line = [&](const std::string& name, const std::vector<std::string>& cells) {
    err << std::left << std::setw(kFirst) << name;
    for (std::size_t i = 0; i + 1 < cells.size(); ++i) err << std::setw(kColumn) << cells[i];
    err << cells.back() << "\n";
  };
  const auto row = [&](const std::string& name, auto cell) {
    std::vector<std::string> cells;
    for (const MappedAccuracy& r : runs) cells.push_back(cell(r.sample));
    line(name, cells);
  };
  std::vector<std::string> names;
  for (const MappedAccuracy& r : runs) names.emplace_back(r.mapping);
  line("mapping", names);
  row("drag points:", [](const AccuracySample& s) { return std::to_string(s.sameTime.size()); });
  row("  distance to the true pen at the same time:", [](const AccuracySample& s) {
    return s.sameTime.empty() ? std::string("-") : Quantiles(s.sameTime);
  });
  row("  distance to the true stroke:", [](const AccuracySample& s) {
    return s.toPath.empty() ? std::string("-") : Quantiles(s.toPath);
  });
}

}  // namespace raz::simcli
