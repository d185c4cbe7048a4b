#include "storage/data_files.h"

#include <gtest/gtest.h>

#include <limits>

#include <cstring>
#include <filesystem>

#include "support/test_platform.h"

namespace raz {
namespace {

// Little-endian helpers for building files by hand, independent of the code under test.
void PutF32(std::vector<std::uint8_t>& b, std::size_t at, float v) {
  std::uint32_t u;
  std::memcpy(&u, &v, 4);
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(u >> (8 * i));
}
void PutI32(std::vector<std::uint8_t>& b, std::size_t at, std::int32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
}
float GetF32(const std::vector<std::uint8_t>& b, std::size_t at) {
  std::uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= std::uint32_t{b[at + i]} << (8 * i);
  float v;
  std::memcpy(&v, &u, 4);
  return v;
}

std::vector<std::uint8_t> HandBuiltRecord() {
  std::vector<std::uint8_t> b(3472, 0);
  for (int k = 0; k < 9; ++k) {
    PutF32(b, 4 * k, 100.5f + k);       // x
    PutF32(b, 36 + 4 * k, 200.25f + k);  // y
  }
  PutI32(b, 72, 0x01020304);
  PutF32(b, 76, 37.9f);
  PutF32(b, 80, 1.155f);
  PutF32(b, 84, 0.875f);
  for (int i = 0; i < 4; ++i) PutF32(b, 88 + 4 * i, 95.0f + i);
  PutF32(b, 3464, 12.9f);
  PutF32(b, 3468, -7.6f);
  return b;
}

TEST(CalibrationRecord, SavesEveryFieldAtItsOffsetWithTheReservedRangeZero) {
  CalibrationRecord c = DecodeCalibrationRecord(HandBuiltRecord());
  c.ScreenOffsetX = -7;
  const auto bytes = EncodeCalibrationRecord(c, {95, 96, 97, 98});
  ASSERT_EQ(bytes.size(), 3472u);
  auto expected = HandBuiltRecord();
  PutF32(expected, 76, 37.0f);     // the loaded integer goes back as a float
  PutF32(expected, 3464, -7.0f);
  PutF32(expected, 3468, -7.0f);
  EXPECT_EQ(bytes, expected);
  EXPECT_EQ(GetF32(bytes, 3464), -7.0f);
  for (std::size_t i = 104; i < 3464; ++i) ASSERT_EQ(bytes[i], 0) << "byte " << i;
}

TEST(CalibrationRecord, FieldsAShortFileDoesNotReachReadAsZero) {
  const auto full = HandBuiltRecord();
  struct Row {
    std::size_t length;
    bool hasPoints, hasReserved, hasScales, hasOffsets;
  };
  const Row rows[] = {{0, false, false, false, false},
                      {74, true, false, false, false},
                      {80, true, true, false, false},
                      {104, true, true, true, false},
                      {3470, true, true, true, false},
                      {3472, true, true, true, true}};
  for (const Row& row : rows) {
    const std::vector<std::uint8_t> bytes(full.begin(), full.begin() + row.length);
    const CalibrationRecord c = DecodeCalibrationRecord(bytes);
    SCOPED_TRACE("length " + std::to_string(row.length));
    EXPECT_EQ(c.CalibrationPoints[8].y, row.hasPoints ? 208.25f : 0.0f);
    EXPECT_EQ(c.ReservedLevel, row.hasReserved ? 37 : 0);
    EXPECT_EQ(c.CalibrationScaleY, row.hasScales ? 0.875f : 0.0f);
    EXPECT_EQ(c.ScreenOffsetY, row.hasOffsets ? -7 : 0);
  }
  // A damaged file whose offsets are no numbers must not throw the pen off the screen.
  auto damaged = full;
  PutF32(damaged, CalibrationRecordLayout::kScreenOffsetX, std::numeric_limits<float>::quiet_NaN());
  PutF32(damaged, CalibrationRecordLayout::kScreenOffsetY, -std::numeric_limits<float>::quiet_NaN());
  const CalibrationRecord c = DecodeCalibrationRecord(damaged);
  EXPECT_EQ(std::pair(c.ScreenOffsetX, c.ScreenOffsetY), std::pair(0, 0));
}

class DataFilesTest : public ::testing::Test {
 protected:
  test::TestPlatform tp;
};

TEST_F(DataFilesTest, SavingWritesFromTheStartWithoutTruncatingAndCreatesAMissingFile) {
  CalibrationRecord c;
  c.CalibrationScaleX = 2.0f;
  for (const int before : {-1, 100, 3472, 4000}) {  // -1: no file
    if (before >= 0) tp.folder.Write("server.txt", std::vector<std::uint8_t>(before, 0xAB));
    ASSERT_TRUE(SaveCalibration(tp.files, c, {110, 110, 110, 110}));
    const auto bytes = tp.folder.Read("server.txt");
    SCOPED_TRACE("file of " + std::to_string(before) + " bytes");
    ASSERT_EQ(bytes.size(), std::max<std::size_t>(before < 0 ? 0 : before, 3472));
    EXPECT_EQ(GetF32(bytes, 80), 2.0f);
    EXPECT_EQ(GetF32(bytes, 100), 110.0f);
    for (std::size_t i = 104; i < 3464; ++i) ASSERT_EQ(bytes[i], 0) << "byte " << i;
    for (std::size_t i = 3472; i < bytes.size(); ++i) ASSERT_EQ(bytes[i], 0xAB) << "byte " << i;
    std::filesystem::remove(tp.folder.File("server.txt"));
  }
}

TEST_F(DataFilesTest, FlagsReadTheirFirstFourBytesOrNothing) {
  struct Row {
    std::vector<std::uint8_t> bytes;
    std::optional<std::int32_t> expected;
  };
  const Row rows[] = {{{1, 0, 0, 0}, 1},
                      {{0, 0, 0, 0}, 0},
                      {{5, 0, 0, 0, 9, 9}, 5},
                      {{0xFF, 0xFF, 0xFF, 0xFF}, -1},
                      {{1, 0}, std::nullopt},
                      {{}, std::nullopt}};
  for (const Row& row : rows) {
    tp.folder.Write("server11.txt", row.bytes);
    EXPECT_EQ(LoadFlag(tp.files, kAutostartFileName), row.expected)
        << "file of " << row.bytes.size() << " bytes";
  }
  EXPECT_EQ(LoadFlag(tp.files, kFramingFileName), std::nullopt) << "missing file";
}

TEST_F(DataFilesTest, SavingAFlagRewritesOnlyItsFourBytes) {
  tp.folder.Write("server11.txt", {1, 0, 0, 0, 0x55, 0x66});
  ASSERT_TRUE(SaveFlag(tp.files, kAutostartFileName, 0));
  EXPECT_EQ(tp.folder.Read("server11.txt"), (std::vector<std::uint8_t>{0, 0, 0, 0, 0x55, 0x66}));
  ASSERT_TRUE(SaveFlag(tp.files, kAutostartFileName, 1));
  EXPECT_EQ(tp.folder.Read("server11.txt"), (std::vector<std::uint8_t>{1, 0, 0, 0, 0x55, 0x66}));
  ASSERT_TRUE(SaveFlag(tp.files, kBoardModelFileName, 2));
  EXPECT_EQ(tp.folder.Read("server1111.txt"), (std::vector<std::uint8_t>{2, 0, 0, 0}));
}

}  // namespace
}  // namespace raz
