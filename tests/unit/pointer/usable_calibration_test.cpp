#include "pointer/usable_calibration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>

#include "app/driver_state.h"
#include "app/form1.h"
#include "board/interpolation.h"
#include "pointer/transform.h"
#include "storage/data_files.h"
#include "support/test_platform.h"

namespace raz {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// A calibration as a tour on a 1024 x 768 screen leaves it, slightly distorted.
StoredCalibration Measured() {
  StoredCalibration c;
  c.CalibrationPoints = {{{57.1f, 724.8f}, {515.6f, 731.5f}, {970.2f, 716.4f},
                          {62.6f, 387.4f}, {519.2f, 383.9f}, {977.7f, 390.3f},
                          {61.3f, 52.7f}, {511.9f, 48.2f}, {966.4f, 55.8f}}};
  c.CalibrationScaleX = 1.155f;
  c.CalibrationScaleY = 1.083f;
  c.ScreenOffsetX = 11;
  c.ScreenOffsetY = 2;
  c.ReservedWord = 7;
  c.ReservedLevel = 40;
  return c;
}

struct Degenerate {
  const char* name;
  std::function<void(StoredCalibration&)> spoil;
};

const Degenerate kDegenerate[] = {
    {"all zero", [](StoredCalibration& c) { c = StoredCalibration{}; }},
    {"zero X scale", [](StoredCalibration& c) { c.CalibrationScaleX = 0; }},
    {"zero Y scale", [](StoredCalibration& c) { c.CalibrationScaleY = 0; }},
    {"NaN scale", [](StoredCalibration& c) { c.CalibrationScaleX = kNaN; }},
    {"infinite scale", [](StoredCalibration& c) { c.CalibrationScaleY = -kInf; }},
    {"vanishing scale", [](StoredCalibration& c) { c.CalibrationScaleX = 1e-20f; }},
    {"NaN point", [](StoredCalibration& c) { c.CalibrationPoints[3].y = kNaN; }},
    {"infinite point", [](StoredCalibration& c) { c.CalibrationPoints[8].x = kInf; }},
    {"huge point", [](StoredCalibration& c) { c.CalibrationPoints[5].x = 3e38f; }},
    {"coincident points",
     [](StoredCalibration& c) { c.CalibrationPoints.fill(PointF{500, 400}); }},
    {"mid point on the centre",
     [](StoredCalibration& c) { c.CalibrationPoints[1] = c.CalibrationPoints[4]; }},
    {"corner straight below the centre",
     [](StoredCalibration& c) { c.CalibrationPoints[0].x = c.CalibrationPoints[4].x; }},
    {"corner level with the centre",
     [](StoredCalibration& c) { c.CalibrationPoints[8].y = c.CalibrationPoints[4].y; }},
    {"corners 2 and 6 in one column",
     [](StoredCalibration& c) { c.CalibrationPoints[2].x = c.CalibrationPoints[6].x + 1.5f; }},
    {"corners 2 and 6 in one row",
     [](StoredCalibration& c) { c.CalibrationPoints[2].y = c.CalibrationPoints[6].y; }},
};

TEST(UsableCalibration, AMeasuredCalibrationIsUsed) {
  EXPECT_TRUE(IsUsableCalibration(Measured()));
}

TEST(UsableCalibration, DegenerateCalibrationsAreRejected) {
  for (const Degenerate& d : kDegenerate) {
    StoredCalibration c = Measured();
    d.spoil(c);
    EXPECT_FALSE(IsUsableCalibration(c)) << d.name;
  }
}

TEST(UsableCalibration, DefaultIsUsableForEveryScreen) {
  for (const auto& [w, h] : {std::pair{1024, 768}, {1920, 1080}, {1366, 768}, {1023, 767},
                             {3840, 2160}, {3, 3}, {0, 0}, {1024, 0}, {2, 600}}) {
    EXPECT_TRUE(IsUsableCalibration(DefaultCalibration(w, h))) << w << " x " << h;
  }
}

TEST(UsableCalibration, DefaultForADisplayWithoutASizeIsThatOf1024By768) {
  const StoredCalibration unknown = DefaultCalibration(0, 0);
  const StoredCalibration fallback = DefaultCalibration(1024, 768);
  EXPECT_EQ(unknown.CalibrationScaleX, fallback.CalibrationScaleX);
  EXPECT_EQ(unknown.CalibrationScaleY, fallback.CalibrationScaleY);
  EXPECT_EQ(unknown.CalibrationPoints[2].x, fallback.CalibrationPoints[2].x);
}

// Puts a touch at a raw board position through the interpolation and the transform.
std::pair<std::int32_t, std::int32_t> TouchAtRaw(DriverState& state, std::int32_t rawX,
                                                 std::int32_t rawY) {
  state.sample.PenStatus = PenStatusCode::Touch;
  state.sample.LevelX = 100;
  state.sample.LevelY = 100;
  state.decoder.FixX = AxisFix{.P1 = rawX / 10};
  state.decoder.FixY = AxisFix{.P1 = rawY / 10};
  InterpolatePosition(state);
  return {state.sample.X, state.sample.Y};
}

TEST(UsableCalibration, DefaultMapsTheCodedAreaOntoTheWholeScreen) {
  for (const auto& [w, h] : {std::pair{1024, 768}, {1920, 1080}, {1366, 768}, {1023, 767},
                             {800, 600}, {1280, 1024}, {3840, 2160}}) {
    SCOPED_TRACE(testing::Message() << w << " x " << h);
    auto state = std::make_unique<DriverState>();
    state->calibration = DefaultCalibration(w, h);
    BuildCalibrationModel(state->model, state->calibration.CalibrationPoints);
    const std::int32_t far = kCodedAreaRawSpan;
    EXPECT_EQ(TouchAtRaw(*state, 0, 0), std::make_pair(0, 0));
    EXPECT_EQ(TouchAtRaw(*state, far, 0), std::make_pair(w - 1, 0));
    EXPECT_EQ(TouchAtRaw(*state, 0, far), std::make_pair(0, h - 1));
    EXPECT_EQ(TouchAtRaw(*state, far, far), std::make_pair(w - 1, h - 1));
    const auto [cx, cy] = TouchAtRaw(*state, far / 2, far / 2);
    EXPECT_NEAR(cx, (w - 1) / 2.0, 1.0);
    EXPECT_NEAR(cy, (h - 1) / 2.0, 1.0);
    // Linear: every half-cell step along the top edge moves right, never back.
    std::int32_t previous = -1;
    for (std::int32_t raw = 0; raw <= far; raw += 10) {
      const std::int32_t x = TouchAtRaw(*state, raw, 0).first;
      EXPECT_GE(x, previous) << "raw " << raw;
      EXPECT_NEAR(x, raw * (w - 1.0) / far, 1.0) << "raw " << raw;
      previous = x;
    }
  }
}

struct Startup {
  explicit Startup(const std::vector<std::uint8_t>* file) {
    if (file != nullptr) tp.folder.Write(kCalibrationFileName, *file);
    form.FormCreate();
  }
  test::TestPlatform tp;
  std::unique_ptr<DriverState> state = std::make_unique<DriverState>();
  TForm1 form{*state, tp.platform};
};

void ExpectDefaultInUse(Startup& s, const std::string& name) {
  const StoredCalibration expected = DefaultCalibration(1024, 768);
  const StoredCalibration& used = s.state->calibration;
  EXPECT_EQ(used.CalibrationScaleX, expected.CalibrationScaleX) << name;
  EXPECT_EQ(used.CalibrationScaleY, expected.CalibrationScaleY) << name;
  EXPECT_EQ(used.ScreenOffsetX, 0) << name;
  EXPECT_EQ(used.ScreenOffsetY, 0) << name;
  for (int k = 0; k < kCalibrationPointCount; ++k) {
    EXPECT_EQ(used.CalibrationPoints[k].x, expected.CalibrationPoints[k].x) << name << " " << k;
    EXPECT_EQ(used.CalibrationPoints[k].y, expected.CalibrationPoints[k].y) << name << " " << k;
  }
  EXPECT_TRUE(IsUsableModel(s.state->model)) << name;
  // The pen follows the board instead of sticking to one pixel.
  EXPECT_EQ(TouchAtRaw(*s.state, 2940, 2940), std::make_pair(1023, 767)) << name;
  EXPECT_EQ(TouchAtRaw(*s.state, 1000, 500), std::make_pair(348, 130)) << name;
}

TEST(UsableCalibration, Startup_DegenerateStoredCalibrationFallsBackToTheDefault) {
  for (const Degenerate& d : kDegenerate) {
    StoredCalibration c = Measured();
    d.spoil(c);
    const std::vector<std::uint8_t> bytes = EncodeCalibrationRecord(c, {110, 110, 110, 110});
    Startup s(&bytes);
    ExpectDefaultInUse(s, d.name);
    EXPECT_EQ(s.tp.folder.Read(kCalibrationFileName), bytes) << d.name << ": file untouched";
    if (d.name != std::string("all zero")) {
      EXPECT_EQ(s.state->calibration.ReservedWord, 7) << d.name << ": carried to the next save";
      EXPECT_EQ(s.state->calibration.ReservedLevel, 40) << d.name;
    }
  }
}

TEST(UsableCalibration, Startup_MissingOrShortFileFallsBackToTheDefault) {
  Startup missing(nullptr);
  ExpectDefaultInUse(missing, "missing");
  EXPECT_FALSE(missing.tp.folder.Exists(kCalibrationFileName));

  const std::vector<std::uint8_t> full = EncodeCalibrationRecord(Measured(), {110, 110, 110, 110});
  const std::vector<std::uint8_t> shortFile(full.begin(), full.begin() + 60);
  Startup truncated(&shortFile);
  ExpectDefaultInUse(truncated, "short");
}

TEST(UsableCalibration, Startup_AUsableStoredCalibrationIsKept) {
  const std::vector<std::uint8_t> bytes = EncodeCalibrationRecord(Measured(), {110, 110, 110, 110});
  Startup s(&bytes);
  EXPECT_EQ(s.state->calibration.CalibrationScaleX, 1.155f);
  EXPECT_EQ(s.state->calibration.CalibrationPoints[6].x, 61.3f);
  EXPECT_EQ(s.state->calibration.ScreenOffsetX, 11);
}

}  // namespace
}  // namespace raz

namespace raz {
namespace {

TEST(FollowScreenSize, TheDefaultCalibrationIsRemadeForANewResolutionButAUsersIsKept) {
  DriverState state;
  state.screen.ScreenWidth = 1024;
  state.screen.ScreenHeight = 768;
  ApplyStoredCalibration(state, StoredCalibration{});  // nothing usable stored
  EXPECT_FLOAT_EQ(state.calibration.CalibrationScaleX, 1023 * 10.0f / 2940);

  state.screen.ScreenWidth = 1920;
  state.screen.ScreenHeight = 1080;
  FollowScreenSize(state);
  EXPECT_FLOAT_EQ(state.calibration.CalibrationScaleX, 1919 * 10.0f / 2940);
  EXPECT_FLOAT_EQ(state.calibration.CalibrationScaleY, 1079 * 10.0f / 2940);
  EXPECT_EQ(state.model.GridWidth, state.calibration.CalibrationPoints[2].x -
                                       state.calibration.CalibrationPoints[6].x);

  StoredCalibration users = DefaultCalibration(800, 600);
  users.DefaultForWidth = users.DefaultForHeight = 0;  // as loaded from server.txt
  ApplyStoredCalibration(state, users);
  state.screen.ScreenWidth = 1280;
  FollowScreenSize(state);
  EXPECT_FLOAT_EQ(state.calibration.CalibrationScaleX, 799 * 10.0f / 2940);
}

}  // namespace
}  // namespace raz
