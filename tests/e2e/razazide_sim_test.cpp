// razazide-sim as a user meets it: the accuracy summary.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "accuracy.h"
#include "options.h"
#include "run.h"
#include "support/test_platform.h"

namespace raz {
namespace {

namespace fs = std::filesystem;
using sim::PixelPoint;

struct Outcome {
  int exitCode;
  std::string out;
  std::string err;
};

Outcome Simulate(const simcli::Options& options) {
  std::ostringstream out;
  std::ostringstream err;
  const int code = simcli::RunSimulation(options, out, err);
  return {code, out.str(), err.str()};
}

double BruteForce(const std::vector<PixelPoint>& points, PixelPoint p) {
  double best = std::numeric_limits<double>::infinity();
  for (const PixelPoint& q : points) best = std::min(best, std::hypot(q.x - p.x, q.y - p.y));
  return best;
}

// Point sets like the ones a scenario gives, in time order: a pen resting, a slow stroke with
// samples a hundredth of a pixel apart, a fast one, a scribble that comes back over itself.
std::vector<std::pair<const char*, std::vector<PixelPoint>>> PointSets() {
  std::vector<std::pair<const char*, std::vector<PixelPoint>>> sets;
  sets.push_back({"none", {}});
  sets.push_back({"one point", {{512, 384}}});
  sets.push_back({"a pen resting", std::vector<PixelPoint>(5000, {300.25, 200.5})});
  std::vector<PixelPoint> slow;
  for (int i = 0; i < 40000; ++i) slow.push_back({100 + i * 0.02, 100 + i * 0.015});
  sets.push_back({"slow diagonal stroke", slow});
  std::vector<PixelPoint> fast;
  for (int i = 0; i < 300; ++i) fast.push_back({i * 3.4, 700 - i * 2.1});
  sets.push_back({"fast stroke", fast});
  std::vector<PixelPoint> scribble;
  for (int i = 0; i < 20000; ++i) {
    scribble.push_back({512 + 400 * std::sin(i * 0.0123), 384 + 300 * std::sin(i * 0.0071)});
  }
  sets.push_back({"scribble", scribble});
  return sets;
}

TEST(AccuracySummary, NearestPointIsTheOneALookAtEveryPointFinds) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> x(-200, 1224);
  std::uniform_real_distribution<double> y(-200, 968);
  for (const auto& [name, points] : PointSets()) {
    const simcli::NearestPoints nearest(points);
    std::vector<PixelPoint> queries;
    for (int i = 0; i < 300; ++i) queries.push_back({x(rng), y(rng)});
    for (std::size_t i = 0; i < points.size(); i += 997) queries.push_back(points[i]);
    for (const PixelPoint& q : queries) {
      ASSERT_EQ(nearest.Distance(q), BruteForce(points, q))
          << name << ", query (" << q.x << ", " << q.y << ")";
    }
  }
}

// The run stops at --until-ms; strokes the pen has not drawn by then must not count as the
// true strokes the injected points are measured against. Here a sweep of strokes after the stop
// passes close to every point of the first stroke: the summary must be the one of the same run
// with nothing after the stop.
TEST(AccuracySummary, UntilMsBoundsTheTrueStrokes) {
  test::TempFolder folder;
  const std::string head =
      "screen 1024 768\nwait 1s\ntouch 200 200 100ms\nstroke 200 200 800 300 2s\n";
  std::string sweep;
  for (int y = 100; y < 500; y += 8) {
    sweep += "stroke touch 0 " + std::to_string(y) + " 1023 " + std::to_string(y) + " 20ms\n";
    sweep += "lift 10ms\n";
  }
  folder.WriteText("with-sweep.txt", head + sweep);
  folder.WriteText("without.txt", head + "lift 3s\n");
  simcli::Options options;
  options.untilMs = 2000 + 3100 - 1;  // just before the sweep
  options.scenarioPath = folder.File("with-sweep.txt");
  const Outcome withSweep = Simulate(options);
  options.scenarioPath = folder.File("without.txt");
  const Outcome without = Simulate(options);
  ASSERT_EQ(withSweep.exitCode, 0) << withSweep.err;
  ASSERT_NE(without.err.find("distance to the true stroke"), std::string::npos) << without.err;
  EXPECT_EQ(withSweep.err, without.err);
}

}  // namespace
}  // namespace raz
