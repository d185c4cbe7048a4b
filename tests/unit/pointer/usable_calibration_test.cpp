#include "pointer/usable_calibration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "app/driver_state.h"
#include "app/form1.h"
#include "board/interpolation.h"
#include "pointer/transform.h"
#include "storage/data_files.h"
#include "support/test_platform.h"

namespace raz {
namespace {

using Cal = StoredCalibration;
using Points = std::array<PointF, kCalibrationPointCount>;

// clang-format off
// A calibration as a tour on a 1024 x 768 screen leaves it, slightly distorted.
constexpr Cal kMeasured{{{{57.1f, 724.8f}, {515.6f, 731.5f}, {970.2f, 716.4f},
                          {62.6f, 387.4f}, {519.2f, 383.9f}, {977.7f, 390.3f},
                          {61.3f, 52.7f},  {511.9f, 48.2f},  {966.4f, 55.8f}}},
                        1.155f, 1.083f, 11, 2, 7, 40, 0, 0};
// clang-format on

// Puts a touch at a raw board position through the interpolation and the transform.
std::pair<int, int> TouchAtRaw(DriverState& state, int rawX, int rawY) {
  state.sample = {.PenStatus = PenStatusCode::Touch, .LevelX = 100, .LevelY = 100};
  state.decoder.FixX = AxisFix{.P1 = rawX / 10};
  state.decoder.FixY = AxisFix{.P1 = rawY / 10};
  InterpolatePosition(state);
  return {state.sample.X, state.sample.Y};
}

TEST(UsableCalibration, DefaultMapsTheCodedAreaOntoTheWholeScreen) {
  // {width, height, width and height used}: a display without a usable size gets 1024 x 768.
  // clang-format off
  const int sizes[][4] = {{1024, 768, 1024, 768}, {1920, 1080, 1920, 1080}, {1023, 767, 1023, 767},
                          {3840, 2160, 3840, 2160}, {3, 3, 3, 3}, {0, 0, 1024, 768},
                          {2, 600, 1024, 768}};
  // clang-format on
  for (const auto& [w, h, usedW, usedH] : sizes) {
    SCOPED_TRACE(testing::Message() << w << " x " << h);
    auto state = std::make_unique<DriverState>();
    state->calibration = DefaultCalibration(w, h);
    ASSERT_TRUE(IsUsableCalibration(state->calibration));
    BuildCalibrationModel(state->model, state->calibration.CalibrationPoints);
    const std::int32_t far = kCodedAreaRawSpan;
    EXPECT_EQ(TouchAtRaw(*state, 0, 0), std::make_pair(0, 0));
    EXPECT_EQ(TouchAtRaw(*state, far, 0), std::make_pair(usedW - 1, 0));
    EXPECT_EQ(TouchAtRaw(*state, 0, far), std::make_pair(0, usedH - 1));
    EXPECT_EQ(TouchAtRaw(*state, far, far), std::make_pair(usedW - 1, usedH - 1));
    for (std::int32_t raw = 0; raw <= far; raw += 10) {  // linear along the top edge
      EXPECT_NEAR(TouchAtRaw(*state, raw, 0).first, raw * (usedW - 1.0) / far, 1.0) << raw;
    }
  }
}

struct Startup {
  explicit Startup(const std::vector<std::uint8_t>& file) {
    tp.folder.Write(kCalibrationFileName, file);
    form.FormCreate();
  }
  test::TestPlatform tp;
  std::unique_ptr<DriverState> state = std::make_unique<DriverState>();
  TForm1 form{*state, tp.platform};
};

auto Encoded(const Cal& c) { return EncodeCalibrationRecord(c, {110, 110, 110, 110}); }

TEST(UsableCalibration, Startup_ADegenerateStoredCalibrationFallsBackToTheDefaultAndStaysAsItIs) {
  // clang-format off
  const std::pair<const char*, void (*)(Cal&, Points&)> spoilers[] = {
      {"all zero", [](Cal& c, Points&) { c = Cal{}; }},
      {"NaN scale", [](Cal& c, Points&) { c.CalibrationScaleX = std::nanf(""); }},
      {"infinite scale", [](Cal& c, Points&) { c.CalibrationScaleY = -HUGE_VALF; }},
      {"vanishing scale", [](Cal& c, Points&) { c.CalibrationScaleX = 1e-20f; }},
      {"NaN point", [](Cal&, Points& p) { p[3].y = std::nanf(""); }},
      {"huge point", [](Cal&, Points& p) { p[5].x = 3e38f; }},
      {"coincident points", [](Cal&, Points& p) { p.fill(PointF{500, 400}); }},
      {"mid point on the centre", [](Cal&, Points& p) { p[1] = p[4]; }},
      {"corner straight below the centre", [](Cal&, Points& p) { p[0].x = p[4].x; }},
      {"corner level with the centre", [](Cal&, Points& p) { p[8].y = p[4].y; }},
      {"corners 2 and 6 in one column", [](Cal&, Points& p) { p[2].x = p[6].x + 1.5f; }},
      {"corners 2 and 6 in one row", [](Cal&, Points& p) { p[2].y = p[6].y; }},
  };
  // clang-format on
  for (const auto& [name, spoil] : spoilers) {
    Cal stored = kMeasured;
    spoil(stored, stored.CalibrationPoints);
    const std::vector<std::uint8_t> bytes = Encoded(stored);
    Startup s(bytes);
    EXPECT_TRUE(IsUsableModel(s.state->model)) << name;
    // The pen follows the board, neither stuck on one pixel nor moved by the stored offsets.
    EXPECT_EQ(TouchAtRaw(*s.state, 2940, 2940), std::make_pair(1023, 767)) << name;
    EXPECT_EQ(TouchAtRaw(*s.state, 1000, 500), std::make_pair(348, 130)) << name;
    EXPECT_EQ(s.tp.folder.Read(kCalibrationFileName), bytes) << name << ": file untouched";
    EXPECT_EQ(s.state->calibration.ReservedWord, stored.ReservedWord) << name << ": kept to save";
    EXPECT_EQ(s.state->calibration.ReservedLevel, stored.ReservedLevel) << name;
  }
}

TEST(UsableCalibration, Startup_AUsableStoredCalibrationIsKept) {
  Startup s(Encoded(kMeasured));
  EXPECT_EQ(s.state->calibration.CalibrationScaleX, 1.155f);
  EXPECT_EQ(s.state->calibration.CalibrationPoints[6].x, 61.3f);
  EXPECT_EQ(s.state->calibration.ScreenOffsetX, 11);
}

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
  EXPECT_EQ(state.model.GridWidth,
            state.calibration.CalibrationPoints[2].x - state.calibration.CalibrationPoints[6].x);

  StoredCalibration users = DefaultCalibration(800, 600);
  users.DefaultForWidth = users.DefaultForHeight = 0;  // as loaded from server.txt
  ApplyStoredCalibration(state, users);
  state.screen.ScreenWidth = 1280;
  FollowScreenSize(state);
  EXPECT_FLOAT_EQ(state.calibration.CalibrationScaleX, 799 * 10.0f / 2940);
}

}  // namespace
}  // namespace raz
