#include "platform/headless/headless_profile.h"

#include <gtest/gtest.h>

#include "support/test_platform.h"
#include "unit/platform/special_files.h"

namespace raz {
namespace {

namespace fs = std::filesystem;

class HeadlessProfileSpecial : public testing::TestWithParam<test::SpecialRow> {
 protected:
  test::TempFolder folder;
  test::TempFolder outside;
  HeadlessProfile profile;
};

TEST_P(HeadlessProfileSpecial, ReadsOnlyRegularFilesAndWritesNeverThroughALink) {
  const test::SpecialRow& row = GetParam();
  const fs::path path = folder.path() / "VaziZod.ini";
  const std::string original = "[PARAMETERS]\r\nPen=7\r\n";
  const auto target = test::MakeSpecial(row.kind, path, outside.path(), original);
  test::HangGuard guard;

  EXPECT_EQ(profile.ReadString(path.string(), "PARAMETERS", "Pen", "fallback"),
            row.readable ? "7" : "fallback")
      << row.name;
  EXPECT_EQ(profile.WriteString(path.string(), "language", "Select", "2"), row.writable)
      << row.name;
  EXPECT_EQ(profile.ReadString(path.string(), "language", "Select", "fallback"),
            row.writable ? "2" : "fallback")
      << row.name;
  if (target) {
    const bool hadContent = row.kind == test::Special::LinkToFile;
    EXPECT_EQ(test::ContentOf(*target), hadContent ? original : "(missing)")
        << row.name << ": the file outside the folder must be left as it was";
  }
}

INSTANTIATE_TEST_SUITE_P(Kinds, HeadlessProfileSpecial, testing::ValuesIn(test::kSpecialRows),
                         test::SpecialRowName);

}  // namespace
}  // namespace raz
