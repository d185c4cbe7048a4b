// razazide-sim as a user meets it: the accuracy summary, and a program folder, framing, record
// or plot it cannot use, which must stop the run with a message rather than be ignored.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "accuracy.h"
#include "options.h"
#include "run.h"
#include "support/test_platform.h"
#include "unit/platform/special_files.h"

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

struct RefusedRun {
  const char* what;
  // Prepares the folder (or other paths) and the options; returns the message expected.
  std::function<std::string(const fs::path& folder, const fs::path& outside,
                            simcli::Options& options)>
      setUp;
};

const RefusedRun kRefusedRuns[] = {
    {"a folder that does not exist",
     [](const fs::path& f, const fs::path&, simcli::Options& o) {
       o.folder = (f / "no-such-folder").string();
       return "--folder " + o.folder + ": no such folder";
     }},
    {"a folder that is a file",
     [](const fs::path& f, const fs::path&, simcli::Options& o) {
       std::ofstream(f / "plain-file") << "x";
       o.folder = (f / "plain-file").string();
       return "--folder " + o.folder + ": not a folder";
     }},
    {"VaziZod.ini linked to a file outside",
     [](const fs::path& f, const fs::path& outside, simcli::Options& o) {
       test::MakeSpecial(test::Special::LinkToFile, f / "VaziZod.ini", outside, "[x]\r\n");
       o.folder = f.string();
       return "--folder " + o.folder +
              ": VaziZod.ini is a symbolic link; the driver may write this file, copy it into "
              "the folder";
     }},
    {"server.txt a dangling link",
     [](const fs::path& f, const fs::path& outside, simcli::Options& o) {
       test::MakeSpecial(test::Special::DanglingLink, f / "server.txt", outside, "");
       o.folder = f.string();
       return "--folder " + o.folder + ": server.txt is a symbolic link";
     }},
    {"server111.txt linked to a file outside, with --framing",
     [](const fs::path& f, const fs::path& outside, simcli::Options& o) {
       test::MakeSpecial(test::Special::LinkToFile, f / "server111.txt", outside, "abcd");
       o.folder = f.string();
       o.framing = 1;
       return "--folder " + o.folder + ": server111.txt is a symbolic link";
     }},
    {"server11.txt a FIFO",
     [](const fs::path& f, const fs::path& outside, simcli::Options& o) {
       test::MakeSpecial(test::Special::Fifo, f / "server11.txt", outside, "");
       o.folder = f.string();
       return "--folder " + o.folder + ": server11.txt is not a regular file";
     }},
    {"--framing into a folder where no file can be made",
     [](const fs::path&, const fs::path&, simcli::Options& o) {
       o.folder = "/proc/self";  // not even root may create a file here
       o.framing = 0;
       return std::string("--framing 0: cannot write /proc/self/server111.txt");
     }},
    {"--record into a missing folder",
     [](const fs::path& f, const fs::path&, simcli::Options& o) {
       o.recordPath = (f / "missing" / "x.capture").string();
       return "--record: cannot write " + o.recordPath;
     }},
    {"--plot into a missing folder",
     [](const fs::path& f, const fs::path&, simcli::Options& o) {
       o.plotPath = (f / "missing" / "x.svg").string();
       return "--plot: cannot write " + o.plotPath;
     }},
};

TEST(RazazideSim, WhatCannotBeUsedStopsTheRunWithAMessageAndExitCode2) {
  for (const RefusedRun& row : kRefusedRuns) {
    test::TempFolder folder;
    test::TempFolder outside;
    test::TempFolder data;
    data.WriteText("scenario.txt", "wait 1s\ntouch 200 200 100ms\n");
    simcli::Options options;
    options.scenarioPath = data.File("scenario.txt");
    const std::string message = row.setUp(folder.path(), outside.path(), options);
    const std::string before = test::ContentOf(outside.path() / "VaziZod.ini") +
                               test::ContentOf(outside.path() / "server111.txt");
    test::HangGuard guard;
    const Outcome outcome = Simulate(options);
    EXPECT_EQ(outcome.exitCode, 2) << row.what;
    EXPECT_NE(outcome.err.find(message), std::string::npos)
        << row.what << ": expected \"" << message << "\" in\n"
        << outcome.err;
    EXPECT_EQ(outcome.out, "") << row.what << ": the driver must not have run";
    EXPECT_EQ(test::ContentOf(outside.path() / "VaziZod.ini") +
                  test::ContentOf(outside.path() / "server111.txt"),
              before)
        << row.what << ": a file outside the folder changed";
    EXPECT_FALSE(fs::exists(outside.path() / "server.txt")) << row.what;
  }
}

TEST(RazazideSim, AFolderReachedThroughALinkIsUsedAndTakesTheFraming) {
  test::TempFolder folder;
  test::TempFolder data;
  fs::create_directory(folder.path() / "real");
  fs::create_directory_symlink(folder.path() / "real", folder.path() / "link");
  folder.Write("real/server111.txt", {0, 0, 0, 0});
  data.WriteText("scenario.txt", "wait 1s\n");
  simcli::Options options;
  options.scenarioPath = data.File("scenario.txt");
  options.folder = (folder.path() / "link").string();
  options.framing = 1;
  const Outcome outcome = Simulate(options);
  EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
  EXPECT_EQ(folder.Read("real/server111.txt"), (std::vector<std::uint8_t>{1, 0, 0, 0}));
}

}  // namespace
}  // namespace raz
