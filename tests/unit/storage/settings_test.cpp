#include "storage/settings.h"

#include <gtest/gtest.h>

#include "support/test_platform.h"

namespace raz {
namespace {

TEST(ParseProfileInteger, ConvertsLikeTheProfileFunctions) {
  struct Row {
    const char* text;
    std::optional<std::int32_t> expected;
  };
  const Row rows[] = {
      {"0x1", 1},          {"0X1F", 31},        {"0x", std::nullopt}, {"0X", std::nullopt},
      {"1x", std::nullopt}, {"", std::nullopt},  {"12", 12},           {"-3", -3},
      {"+7", 7},           {"0", 0},            {"0xFFFFFFFF", -1},   {"0x7fffffff", 2147483647},
      {"0x100000000", std::nullopt},            {"2147483647", 2147483647},
      {"0x000000001", 1},  {"0x0000000000FFFFFFFF", -1},       {"0x00", 0},
      {"-2147483648", -2147483647 - 1},          {"2147483648", std::nullopt},
      {"0xG", std::nullopt}, {"1 2", std::nullopt}, {"-", std::nullopt}, {"0x-1", std::nullopt},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ParseProfileInteger(row.text), row.expected) << "text: \"" << row.text << "\"";
  }
}

class SettingsFileTest : public ::testing::Test {
 protected:
  test::TestPlatform tp;
  std::string path = tp.folder.File("VaziZod.ini");
  SettingsFile ini{tp.profile, path};
};

TEST_F(SettingsFileTest, IntegerEntriesFollowTheConversionRules) {
  tp.folder.WriteText("VaziZod.ini", "[PARAMETERS]\r\nvkey=0x1\r\nPen=1x\r\nPenRight= 60 \r\n");
  EXPECT_EQ(ini.ReadInteger(Section::Parameters, "vkey", 0), 1);
  EXPECT_EQ(ini.ReadInteger(Section::Parameters, "Pen", 0), 0);
  EXPECT_EQ(ini.ReadInteger(Section::Parameters, "PenRight", 0), 60);
}

TEST_F(SettingsFileTest, LongStringsAreCutAt2047Characters) {
  tp.folder.WriteText("VaziZod.ini", "[PARAMETERS]\r\nAPPCaption=" + std::string(3000, 'c') + "\r\n");
  EXPECT_EQ(ini.ReadString(Section::Parameters, "APPCaption").size(), 2047u);
  // Characters, not bytes: a Chinese value keeps 2047 whole characters of three bytes each.
  std::string chinese;
  for (int i = 0; i < 2100; ++i) chinese += "板";
  tp.folder.WriteText("VaziZod.ini", "[PARAMETERS]\r\nAPPCaption=" + chinese + "\r\n");
  EXPECT_EQ(ini.ReadString(Section::Parameters, "APPCaption"), chinese.substr(0, 3 * 2047));
}

TEST_F(SettingsFileTest, RefusedWriteRaisesTheErrorWithTheFullPath) {
  const std::string unreachable = tp.folder.File("no-such-folder/VaziZod.ini");
  SettingsFile refused(tp.profile, unreachable);
  try {
    refused.WriteInteger(Section::Language, "Select", 1);
    FAIL() << "the write should have been refused";
  } catch (const SettingsWriteError& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + unreachable);
  }
}

}  // namespace
}  // namespace raz
