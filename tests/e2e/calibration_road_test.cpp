// A teacher's calibration, headless end to end: the simulated user touches each cross where
// the driver draws it on a board whose projected screen is shifted, scaled, turned and
// keystoned; the tour completes and is saved; then touches on a 9 x 9 grid of screen points
// must press where they were aimed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>

#include "app/canvas.h"
#include "calibration/tour.h"
#include "calibration/transform.h"
#include "scenario_rig.h"
#include "shell/captions.h"
#include "storage/data_files.h"

namespace raz {
namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kGrid = 9;
// The grid spans the screen up to this far from its edges.
constexpr int kGridInset = 12;

struct Projection {
  const char* name;
  // centre x y, width, height (cells), rotation (degrees), keystone, along x, barrel
  const char* projection;
  // What the driver reaches with it under each mapping (standard, keystone-exact), measured
  // and kept.
  double maxPx[2];
  double rmsPx[2];
};

// The eight-sector transform is exact at the nine targets and linear inside each of its
// triangles: shift, scale and rotation it undoes completely, but a keystone stretches the
// width in proportion to the height, and that leaves a residual that peaks inside each
// triangle at keystone x width / 8 (2.6 px at 0.02, 10.2 px at 0.08 on 1024 px). The
// keystone-exact mapping follows any keystone; a lens's bow it meets only at the nine points.
const Projection kSetups[] = {
    {"none", "projection 86 71 96 118 0 0", {2.0, 1.5}, {1.0, 1.0}},
    {"turned", "projection 86 71 96 118 2 0", {2.0, 1.5}, {1.0, 0.8}},
    {"mild", "projection 86 71 96 118 0.5 0.02", {3.0, 1.5}, {1.6, 0.8}},
    {"strong", "projection 88 73 100 124 2 0.08", {11.0, 1.5}, {4.0, 0.8}},
    {"otheraxis", "projection 88 73 100 124 0 0 0.08", {7.5, 1.5}, {3.0, 0.8}},
    {"barrel", "projection 86 71 96 118 0 0 0 0.03", {4.0, 3.0}, {1.6, 1.4}},
};

struct Setup {
  Projection projection;
  Mapping mapping;
};

void PrintTo(const Setup& setup, std::ostream* os) {
  *os << setup.projection.name << (setup.mapping == Mapping::KeystoneExact ? " keystone" : "");
}

ScreenPoint GridPoint(int i, int j) {
  return {kGridInset + i * (kWidth - 1 - 2 * kGridInset) / (kGrid - 1),
          kGridInset + j * (kHeight - 1 - 2 * kGridInset) / (kGrid - 1)};
}

std::string Scenario(const Projection& setup) {
  std::ostringstream text;
  text << "screen " << kWidth << ' ' << kHeight << '\n'
       << setup.projection << "\nwait 1s\nmenu N1\nwait 500ms\ncalibrate\nwait 500ms\n";
  // Each grid point is touched at the centre of its pixel.
  for (int j = 0; j < kGrid; ++j) {
    for (int i = 0; i < kGrid; ++i) {
      const ScreenPoint p = GridPoint(i, j);
      text << "touch " << p.x + 0.5 << ' ' << p.y + 0.5 << " 60ms\nlift 60ms\n";
    }
  }
  return text.str();
}

// Centre of the red cross in the image: the pixel whose row and column both run red.
std::optional<ScreenPoint> RedCross(const Image& image) {
  for (int y = 1; y + 1 < image.Height; ++y) {
    for (int x = 1; x + 1 < image.Width; ++x) {
      const auto at = [&](int u, int v) {
        return image.Pixels[static_cast<std::size_t>(v) * image.Width + u];
      };
      if (at(x, y) == kRed && at(x - 1, y) == kRed && at(x + 1, y) == kRed &&
          at(x, y - 1) == kRed && at(x, y + 1) == kRed) {
        return ScreenPoint{x, y};
      }
    }
  }
  return std::nullopt;
}

// The pen goes round a rectangle about the centre, across every boundary between the
// mappings' regions (the sector transform's rays, the keystone-exact quadrants), in steps of a
// twentieth of a pixel. Returns the largest ratio of a mapped step (before truncation) to the
// pen's own: a jump at a boundary would show as a ratio in the tens.
double LargestStepAroundTheCentre(const DriverState& state, const sim::Projection& projection,
                                  Mapping mapping) {
  CalibrationModel model = state.calibration.Model;
  const CalibrationRecord& c = state.calibration.Stored;
  const auto mapped = [&](double x, double y) {  // raw units are 20 per cell
    const sim::CellPoint cells = projection.ToBoard({x, y});
    return MapUnshifted({cells.x * 2 * c.CalibrationScaleX, cells.y * 2 * c.CalibrationScaleY},
                        model, mapping);
  };
  constexpr double kStep = 0.05;  // the rectangle (200, 150) (824, 618), clockwise
  const double x[] = {200, 824, 824, 200, 200};
  const double y[] = {150, 150, 618, 618, 150};
  double largest = 0.0;
  PointD before = mapped(x[0], y[0]);
  for (int side = 0; side < 4; ++side) {
    const double length = std::hypot(x[side + 1] - x[side], y[side + 1] - y[side]);
    const int steps = static_cast<int>(length / kStep);
    for (int i = 1; i <= steps; ++i) {
      const double t = static_cast<double>(i) / steps;
      const PointD now = mapped(x[side] + (x[side + 1] - x[side]) * t,
                                y[side] + (y[side + 1] - y[side]) * t);
      largest = std::max(largest, std::hypot(now.x - before.x, now.y - before.y) / kStep);
      before = now;
    }
  }
  return largest;
}

class CalibrationRoad : public ::testing::TestWithParam<Setup> {};

TEST_P(CalibrationRoad, TourCompletesIsSavedAndTheGridLandsOnItsTargets) {
  const Projection& setup = GetParam().projection;
  const int mapping = StoredNumber(GetParam().mapping);
  test::ScenarioRig rig(Scenario(setup));
  // The installed calibration file, as packaging ships it: the new record is written into it.
  rig.platform().folder.Write("server.txt", std::vector<std::uint8_t>(3472, 0));
  const std::string ini = "[PARAMETERS]\r\nMapping=" + std::to_string(mapping) + "\r\n";
  rig.platform().folder.Write("VaziZod.ini", std::vector<std::uint8_t>(ini.begin(), ini.end()));

  // Where the red cross stood whenever the tour waited for a target.
  std::map<int, ScreenPoint> crossAt;
  HeadlessHost& host = rig.host();
  host.afterHandler = [&] {
    const CalibrationTour& tour = host.state().calibration.Tour;
    if (!tour.CalibrationActive || !host.form1().Window.Visible) return;
    const int step = tour.CalibrationTargetIndex;
    if (crossAt.count(step)) return;
    const Image& image = host.form1().Image1;
    if (const auto cross = RedCross(image)) crossAt[step] = *cross;
  };
  rig.Run();

  // The simulated user touched exactly where the crosses were drawn.
  ASSERT_EQ(crossAt.size(), 9u) << "every target was shown";
  const auto targets = sim::CalibrationTargets(kWidth, kHeight);
  for (int step = 0; step < kTourSteps; ++step) {
    EXPECT_EQ(crossAt[step], CalibrationTarget(step, {kWidth, kHeight})) << "step " << step;
    EXPECT_EQ(crossAt[step].x + 0.5, targets[step].x) << "step " << step;
    EXPECT_EQ(crossAt[step].y + 0.5, targets[step].y) << "step " << step;
  }

  const DriverState& state = host.state();
  EXPECT_FALSE(state.calibration.Tour.CalibrationActive);
  EXPECT_EQ(state.calibration.ToursApplied, 1u);
  EXPECT_FALSE(host.form1().Window.Visible) << "the surface hides at the end";
  const CalibrationRecord saved = DecodeCalibrationRecord(rig.platform().folder.Read("server.txt"));
  EXPECT_EQ(saved.CalibrationScaleX, state.calibration.Stored.CalibrationScaleX);
  EXPECT_EQ(saved.CalibrationPoints, state.calibration.Stored.CalibrationPoints);
  EXPECT_EQ(saved.ScreenOffsetX, state.calibration.Stored.ScreenOffsetX);
  EXPECT_EQ(saved.ScreenOffsetY, state.calibration.Stored.ScreenOffsetY);
  EXPECT_EQ(rig.platform().folder.Read("server.txt").size(), 3472u);

  // Every press of the grid, in order: MOVE then LEFTDOWN at the first touch sample.
  std::vector<ScreenPoint> presses;
  for (const MouseEventRecord& e : rig.platform().mouse.events) {
    if (e.flags & MouseFlags::LeftDown) {
      presses.push_back({static_cast<int>((static_cast<std::int64_t>(e.dx) * kWidth) >> 16),
                         static_cast<int>((static_cast<std::int64_t>(e.dy) * kHeight) >> 16)});
    }
  }
  ASSERT_EQ(presses.size(), static_cast<std::size_t>(kGrid * kGrid))
      << "the tour's touches press nothing; each grid touch presses once";
  double worst = 0.0;
  double sumSquares = 0.0;
  for (int j = 0; j < kGrid; ++j) {
    for (int i = 0; i < kGrid; ++i) {
      const ScreenPoint aim = GridPoint(i, j);
      const ScreenPoint got = presses[static_cast<std::size_t>(j * kGrid + i)];
      const double error = std::hypot(got.x - aim.x, got.y - aim.y);
      worst = std::max(worst, error);
      sumSquares += error * error;
    }
  }
  const double rms = std::sqrt(sumSquares / (kGrid * kGrid));
  const double step =
      LargestStepAroundTheCentre(host.state(), rig.player().projection(), GetParam().mapping);
  std::printf("calibration accuracy, %s distortion, mapping %d: max %.2f px, RMS %.2f px, "
              "largest step %.3f x the pen's\n",
              setup.name, mapping, worst, rms, step);
  EXPECT_LE(worst, setup.maxPx[mapping]);
  EXPECT_LE(rms, setup.rmsPx[mapping]);
  EXPECT_LE(step, 1.3) << "the mapped pen moves no further than the pen, give or take its scale";

  // The teacher's calibration outlives a change of resolution; only the default follows it.
  rig.platform().display.Set(1280, 800);
  host.RunFor(2'000'000);
  EXPECT_EQ(state.calibration.Stored.CalibrationPoints, saved.CalibrationPoints);
}

std::vector<Setup> AllSetups() {
  std::vector<Setup> setups;
  for (const Projection& p : kSetups) {
    for (Mapping m : {Mapping::Standard, Mapping::KeystoneExact}) setups.push_back({p, m});
  }
  return setups;
}

INSTANTIATE_TEST_SUITE_P(Projections, CalibrationRoad, ::testing::ValuesIn(AllSetups()),
                         [](const auto& info) {
                           return std::string(info.param.projection.name) +
                                  (info.param.mapping == Mapping::KeystoneExact ? "Keystone" : "");
                         });

// The display changes size while a calibration runs (a projector re-syncs, a teacher changes
// the resolution): the calibration starts again on a surface of the new size, its first target
// where the new size puts it, rather than drawing crosses outside the surface or finishing with
// points aimed at crosses that moved.
TEST(CalibrationRoadEnd, ADisplayChangeStartsTheCalibrationAgainOnTheNewSurface) {
  constexpr ScreenSize kNew{1280, 800};
  const auto targets = sim::CalibrationTargets(kWidth, kHeight);
  std::ostringstream tour;
  tour << "menu N1\n";
  for (int step = 0; step < kTourSteps; ++step) {
    tour << "touch " << targets[step].x << ' ' << targets[step].y << " 300ms\nlift 200ms\n";
  }
  for (const std::string& start : {std::string("menu N6\nwait 6s\n"), tour.str()}) {
    test::ScenarioRig rig("screen 1024 768\nwait 1s\n" + start);
    rig.platform().folder.Write("server.txt", std::vector<std::uint8_t>(3472, 0));
    HeadlessHost& host = rig.host();
    // The change comes during the fourth target's touch.
    const std::uint64_t changeAt = test::kScenarioStart + 1'000'000 + 3 * 500'000 + 150'000;
    bool changed = false;
    host.afterHandler = [&] {
      if (!changed && rig.Now() >= changeAt) {
        rig.platform().display.Set(kNew.Width, kNew.Height);
        changed = true;
      }
    };
    rig.Run();
    const TForm1& form = host.form1();
    const DriverState& state = host.state();
    SCOPED_TRACE(start);
    EXPECT_EQ(state.calibration.ToursApplied, 0u) << "no calibration from mixed crosses";
    EXPECT_TRUE(IsCalibrating(state)) << "still waiting on the new surface";
    EXPECT_EQ((ScreenSize{form.Image1.Width, form.Image1.Height}), kNew);
    if (state.calibration.Tour.CalibrationActive) {
      // The touches after the change went on at the old places: the restarted tour took some.
      const int step = state.calibration.Tour.CalibrationTargetIndex;
      EXPECT_EQ(RedCross(form.Image1), CalibrationTarget(step, kNew));
      EXPECT_NE(form.Label1.Caption.find(std::to_string(step + 1)), std::string::npos);
    } else {
      EXPECT_TRUE(form.Label13.Visible);
      EXPECT_EQ(state.keyCalibration.KeyCalibrationStep, 0);
    }
  }
}

// A calibration whose file refuses the write is said once. The screen calibration stays in
// force for the session; the key calibration ends with the layout of before, so a later touch
// in the middle of the board clicks rather than being taken for a third corner.
TEST(CalibrationRoadEnd, ARefusedSaveIsSaidOnceAndTheCalibrationEnds) {
  const struct {
    const char* name;
    const char* steps;
    const char* file;
  } cases[] = {
      {"screen tour", "menu N1\ncalibrate\n", "server.txt"},
      {"key calibration", "menu N6\nkeycalibrate\n", "VaziZod.ini"},
  };
  for (const auto& c : cases) {
    test::ScenarioRig rig(std::string("screen 1024 768\nwait 1s\n") + c.steps +
                          "wait 2s\ntouch 400 300 200ms\nlift 200ms\n");
    // A folder where the file should be: every write to it is refused.
    std::filesystem::create_directory(rig.platform().folder.path() / c.file);
    rig.Run(500'000, true);
    HeadlessHost& host = rig.host();
    const DriverState& state = host.state();
    SCOPED_TRACE(c.name);
    EXPECT_EQ(host.shownErrors(),
              std::vector<std::string>{"Unable to write to " + rig.platform().folder.File(c.file)});
    EXPECT_FALSE(IsCalibrating(state));
    EXPECT_FALSE(host.form1().Window.Visible);
    EXPECT_EQ(state.calibration.ToursApplied, std::string(c.file) == "server.txt" ? 1u : 0u);
    EXPECT_EQ(state.keys.KeyMarginRight, kMarginRightWhenOff) << "the layout of before";
    std::size_t presses = 0;
    for (const MouseEventRecord& e : rig.platform().mouse.events) {
      presses += (e.flags & MouseFlags::LeftDown) != 0;
    }
    EXPECT_EQ(presses, 1u) << "the touch after the calibration clicks";
  }
}

}  // namespace
}  // namespace raz
