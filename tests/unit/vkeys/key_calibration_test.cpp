#include "vkeys/key_calibration.h"

#include <gtest/gtest.h>

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

TEST(CopyToWindowName, KeepsAtMost99CharactersAndZeroFillsTheRest) {
  std::array<char, 100> buffer;
  buffer.fill('x');
  CopyToWindowName("Notepad", buffer);
  EXPECT_STREQ(buffer.data(), "Notepad");
  EXPECT_EQ(buffer[99], '\0');
  EXPECT_EQ(buffer[8], '\0');

  CopyToWindowName(std::string(150, 'a'), buffer);
  EXPECT_EQ(std::string(buffer.data()), std::string(99, 'a'));
}

class KeyLayoutFileTest : public ::testing::Test {
 protected:
  test::TestPlatform tp;
  SettingsFile ini{tp.profile, tp.folder.File("VaziZod.ini")};
  KeyCalibration calibration;
  KeyLayout layout;
};

TEST_F(KeyLayoutFileTest, WithoutSettingsTheKeysAreOffAndTheMarginsOutOfReach) {
  EXPECT_FALSE(LoadKeyLayout(ini, calibration, layout));
  EXPECT_EQ(layout.KeyMarginLeft, 0);
  EXPECT_EQ(layout.KeyMarginRight, 28450);
  EXPECT_EQ(layout.KeyBounds[0], 0);
  EXPECT_EQ(layout.KeyBounds[9], 0);
}

TEST_F(KeyLayoutFileTest, StoredPointsComeBackAsTheLayoutWhenTheKeysAreOn) {
  tp.folder.WriteText(
      "VaziZod.ini",
      "[PARAMETERS]\r\nvkey=0x1\r\n[VKeyCali]\r\nVKeyPoint_L_TopX=900\r\n"
      "VKeyPoint_L_TopY=1000\r\nVKeyPoint_L_BottomX=905\r\nVKeyPoint_L_BottomY=1900\r\n"
      "VKeyPoint_R_middleX=2700\r\nVKeyPoint_R_middleY=1234\r\n");
  EXPECT_TRUE(LoadKeyLayout(ini, calibration, layout));
  EXPECT_EQ(layout.KeyMarginLeft, 900);
  EXPECT_EQ(layout.KeyMarginRight, 2700);
  EXPECT_EQ(layout.KeyBounds[1], 1100);
  EXPECT_EQ(calibration.KeyPointRightMiddle.y, 1234.0f);
}

TEST_F(KeyLayoutFileTest, PointsAreStoredTruncatedTowardZero) {
  calibration.KeyPointLeftTop = {-3.7f, 1000.9f};
  calibration.KeyPointLeftBottom = {905.2f, 1900.5f};
  calibration.KeyPointRightMiddle = {2700.99f, -0.5f};
  SaveKeyPoints(ini, calibration);
  EXPECT_EQ(tp.folder.ReadText("VaziZod.ini"),
            "[VKeyCali]\r\nVKeyPoint_L_TopX=-3\r\nVKeyPoint_L_TopY=1000\r\n"
            "VKeyPoint_L_BottomX=905\r\nVKeyPoint_L_BottomY=1900\r\n"
            "VKeyPoint_R_middleX=2700\r\nVKeyPoint_R_middleY=0\r\n");
}

}  // namespace
}  // namespace raz
