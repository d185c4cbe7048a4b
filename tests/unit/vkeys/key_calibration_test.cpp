#include "vkeys/key_calibration.h"

#include <gtest/gtest.h>

#include <string>

#include "support/test_platform.h"

namespace raz {
namespace {

TEST(DeriveKeyBounds, SplitsTheLeftMarginIntoNineEqualBands) {
  struct Row {
    float top, bottom;
    std::array<std::int32_t, 10> bounds;
  };
  const Row rows[] = {
      {1000.0f, 1900.0f, {1000, 1100, 1200, 1300, 1400, 1500, 1600, 1700, 1800, 1900}},
      {0.0f, 100.0f, {0, 11, 22, 33, 44, 55, 66, 77, 88, 100}},
      {1589.0f, 2278.0f, {1589, 1665, 1742, 1818, 1895, 1971, 2048, 2124, 2201, 2278}},
  };
  for (const Row& row : rows) {
    KeyLayout layout;
    DeriveKeyBounds(row.top, row.bottom, layout);
    EXPECT_EQ(layout.KeyBounds, row.bounds) << "top " << row.top << " bottom " << row.bottom;
  }
}

class KeyLayoutFileTest : public ::testing::Test {
 protected:
  test::TestPlatform tp;
  SettingsFile ini{tp.profile, tp.folder.File("VaziZod.ini")};
  KeyCalibration calibration;
  KeyLayout layout;
};

// The hotkeys' check mark follows vkey. Settings that leave the hotkeys switched on but give
// no usable layout swallowed every press: they count as no layout, and the pen works everywhere.
// Without points the bands are empty; stored points derive them.
TEST_F(KeyLayoutFileTest, StoredPointsGiveTheLayoutOnlyWhenTheyAreUsable) {
  const char* const kReal =
      "VKeyPoint_L_TopX=900\r\nVKeyPoint_L_TopY=1000\r\nVKeyPoint_L_BottomX=905\r\n"
      "VKeyPoint_L_BottomY=1900\r\nVKeyPoint_R_middleX=2700\r\nVKeyPoint_R_middleY=1234\r\n";
  struct Row {
    const char* what;
    const char* vkey;
    const char* keys;
    bool usable;
  };
  const Row rows[] = {
      {"no settings at all", nullptr, "", false},
      {"points missing", "1", "", false},
      {"right margin equal to the left", "1",
       "VKeyPoint_L_TopX=900\r\nVKeyPoint_L_TopY=1000\r\nVKeyPoint_L_BottomY=1900\r\n"
       "VKeyPoint_R_middleX=900\r\n",
       false},
      {"right margin left of the left one", "1",
       "VKeyPoint_L_TopX=2700\r\nVKeyPoint_L_TopY=1000\r\nVKeyPoint_L_BottomY=1900\r\n"
       "VKeyPoint_R_middleX=900\r\n",
       false},
      {"margins a stroke's 110 apart", "1",
       "VKeyPoint_L_TopX=1696\r\nVKeyPoint_L_TopY=1000\r\nVKeyPoint_L_BottomY=1900\r\n"
       "VKeyPoint_R_middleX=1806\r\n",
       false},
      {"last icon above the first", "1",
       "VKeyPoint_L_TopX=900\r\nVKeyPoint_L_TopY=1900\r\nVKeyPoint_L_BottomY=1000\r\n"
       "VKeyPoint_R_middleX=2700\r\n",
       false},
      {"a real layout", "0x1", kReal, true},
  };
  for (const Row& row : rows) {
    test::TestPlatform p;
    if (row.vkey != nullptr) {
      p.folder.WriteText("VaziZod.ini", std::string("[PARAMETERS]\r\nvkey=") + row.vkey +
                                            "\r\n[VKeyCali]\r\n" + row.keys);
    }
    SettingsFile file(p.profile, p.folder.File("VaziZod.ini"));
    KeyCalibration c;
    KeyLayout l;
    EXPECT_EQ(LoadKeyLayout(file, c, l), row.vkey != nullptr) << row.what;
    EXPECT_EQ(l.KeyMarginLeft, row.usable ? 900 : 0) << row.what;
    EXPECT_EQ(l.KeyMarginRight, row.usable ? 2700 : 28450) << row.what;
    if (row.vkey == nullptr) {
      EXPECT_EQ(l.KeyBounds, (std::array<std::int32_t, 10>{})) << row.what;
    }
    if (row.usable) {
      EXPECT_EQ(l.KeyBounds[1], 1100) << row.what;
      EXPECT_EQ(c.KeyPointRightMiddle.y, 1234.0f) << row.what;
    }

    // The hotkey switch reads the same points and judges them alike.
    KeyLayout switched;
    SwitchHotkeys(file, true, switched);
    EXPECT_EQ(switched.KeyMarginLeft, l.KeyMarginLeft) << row.what;
    EXPECT_EQ(switched.KeyMarginRight, l.KeyMarginRight) << row.what;
  }
}

// The points the worked example uses: icons from raw Y 1000 to 1900, the right margin at 2700.
void Calibrated(KeyCalibration& c) {
  c.KeyPointLeftTop = {900.0f, 1000.0f};
  c.KeyPointLeftBottom = {905.0f, 1900.0f};
  c.KeyPointRightMiddle = {2700.0f, 1400.0f};
}

// A settings file that refuses one write, as a full disk or a file another program holds
// would: the points go in whole or not at all.
TEST_F(KeyLayoutFileTest, ARefusedWriteLeavesThePointsOfBefore) {
  struct RefusesOneWrite : Profile {
    Profile& inner;
    int refused;  // 1-based number of the write to refuse
    int writes = 0;
    RefusesOneWrite(Profile& p, int n) : inner(p), refused(n) {}
    std::string ReadString(const std::string& path, const std::string& section,
                           const std::string& key, const std::string& fallback) override {
      return inner.ReadString(path, section, key, fallback);
    }
    bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value) override {
      return ++writes != refused && inner.WriteString(path, section, key, value);
    }
  };
  const std::string before =
      "[VKeyCali]\r\nVKeyPoint_L_TopX=1\r\nVKeyPoint_L_TopY=2\r\nVKeyPoint_L_BottomX=3\r\n"
      "VKeyPoint_L_BottomY=4\r\nVKeyPoint_R_middleX=5\r\nVKeyPoint_R_middleY=6\r\n";
  Calibrated(calibration);
  for (int refused = 1; refused <= 6; ++refused) {
    tp.folder.WriteText("VaziZod.ini", before);
    RefusesOneWrite profile(tp.profile, refused);
    SettingsFile file(profile, tp.folder.File("VaziZod.ini"));
    EXPECT_THROW(SaveKeyPoints(file, calibration), SettingsWriteError) << refused;
    EXPECT_EQ(tp.folder.ReadText("VaziZod.ini"), before) << "write " << refused << " refused";
  }
}

// One step call per row, from the step and points given; the point is the sample's raw
// position, the level its LevelX.
TEST(KeyCalibrationStep, EachPointNeedsALevelAndItsDistanceFromTheFirst) {
  struct Row {
    const char* what;
    std::int32_t step;
    std::int32_t levelX;
    PointF raw;
    KeyCalibrationOutcome outcome;
    std::int32_t stepAfter;
  };
  const PointF top{900.0f, 1000.0f};
  const Row rows[] = {
      {"first, level 31", 0, 31, top, KeyCalibrationOutcome::FirstTaken, 1},
      {"first, level 30", 0, 30, top, KeyCalibrationOutcome::Ignored, 0},
      {"second, the pen still on the first corner", 1, 200, top, KeyCalibrationOutcome::SecondRetry,
       1},
      {"second, exactly 100.0 below",
       1,
       200,
       {900.0f, 1100.0f},
       KeyCalibrationOutcome::SecondRetry,
       1},
      {"second, 100.5 below", 1, 200, {900.0f, 1100.5f}, KeyCalibrationOutcome::SecondTaken, 2},
      {"second, level 30", 1, 30, {900.0f, 1900.0f}, KeyCalibrationOutcome::Ignored, 1},
      {"third, the pen still on the first corner", 2, 200, top, KeyCalibrationOutcome::ThirdRetry,
       2},
      {"third, a stroke's 110 beside", 2, 200, {1010.0f, 1400.0f},
       KeyCalibrationOutcome::ThirdRetry, 2},
      {"third, 1469.9 beside", 2, 200, {2369.9f, 1400.0f}, KeyCalibrationOutcome::ThirdRetry, 2},
      {"third, half the board beside", 2, 200, {2370.0f, 1400.0f},
       KeyCalibrationOutcome::Finished, 2},
      {"third, 2000 to the left", 2, 200, {-1100.0f, 1400.0f}, KeyCalibrationOutcome::ThirdRetry,
       2},
      {"third, level 30", 2, 30, {2700.0f, 1400.0f}, KeyCalibrationOutcome::Ignored, 2},
  };
  for (const Row& row : rows) {
    KeyCalibration c;
    StartKeyCalibration(c);
    if (row.step > 0) c.KeyPointLeftTop = top;
    if (row.step > 1) c.KeyPointLeftBottom = {905.0f, 1900.0f};
    c.KeyCalibrationStep = row.step;
    EXPECT_EQ(KeyCalibrationStep(row.levelX, row.raw, c), row.outcome) << row.what;
    EXPECT_EQ(c.KeyCalibrationStep, row.stepAfter) << row.what;
    EXPECT_TRUE(c.KeyCalibrationActive) << row.what << ": only the finish ends it";
  }
}

TEST(KeyCalibrationStep, FinishingDerivesTheLayoutWhateverTheSwitchSays) {
  KeyCalibration c;
  KeyLayout layout;
  layout.KeyMarginLeft = kMarginLeftWhenOff;
  layout.KeyMarginRight = kMarginRightWhenOff;
  StartKeyCalibration(c);
  EXPECT_EQ(KeyCalibrationStep(200, {900.0f, 1000.0f}, c), KeyCalibrationOutcome::FirstTaken);
  EXPECT_EQ(KeyCalibrationStep(200, {905.0f, 1900.0f}, c), KeyCalibrationOutcome::SecondTaken);
  EXPECT_EQ(KeyCalibrationStep(200, {2700.0f, 1400.0f}, c), KeyCalibrationOutcome::Finished);
  FinishKeyCalibration(c, layout);
  EXPECT_FALSE(c.KeyCalibrationActive);
  EXPECT_EQ(layout.KeyMarginLeft, 900);
  EXPECT_EQ(layout.KeyMarginRight, 2700);
  EXPECT_EQ(layout.KeyBounds, (std::array<std::int32_t, 10>{1000, 1100, 1200, 1300, 1400, 1500,
                                                            1600, 1700, 1800, 1900}));
}

TEST(KeyCalibrationStep, CancelPutsThePointsOfBeforeBackEvenAfterARestart) {
  KeyCalibration c;
  Calibrated(c);
  StartKeyCalibration(c);
  KeyCalibrationStep(200, {100.0f, 200.0f}, c);
  StartKeyCalibration(c);  // N6 again in the middle
  KeyCalibrationStep(200, {300.0f, 400.0f}, c);
  KeyCalibrationStep(200, {300.0f, 900.0f}, c);
  CancelKeyCalibration(c);
  EXPECT_FALSE(c.KeyCalibrationActive);
  EXPECT_EQ(c.KeyPointLeftTop, (PointF{900.0f, 1000.0f}));
  EXPECT_EQ(c.KeyPointLeftBottom, (PointF{905.0f, 1900.0f}));
  EXPECT_EQ(c.KeyPointRightMiddle, (PointF{2700.0f, 1400.0f}));
}

}  // namespace
}  // namespace raz
