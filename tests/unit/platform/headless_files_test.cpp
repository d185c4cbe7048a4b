#include "platform/headless/headless_files.h"

#include <gtest/gtest.h>

#include "support/test_platform.h"
#include "unit/platform/special_files.h"

namespace raz {
namespace {

namespace fs = std::filesystem;

std::string Text(const std::optional<std::vector<std::uint8_t>>& bytes) {
  return bytes ? std::string(bytes->begin(), bytes->end()) : "(missing)";
}

class HeadlessFilesSpecial : public testing::TestWithParam<test::SpecialRow> {
 protected:
  test::TempFolder folder;
  test::TempFolder outside;
  HeadlessFiles files{folder.path().string()};
};

TEST_P(HeadlessFilesSpecial, ReadsOnlyRegularFilesAndWritesNeverThroughALink) {
  const test::SpecialRow& row = GetParam();
  const fs::path path = folder.path() / "server111.txt";
  const auto target = test::MakeSpecial(row.kind, path, outside.path(), "old!");
  test::HangGuard guard;

  const auto read = files.ReadFile(path.string(), 4);
  EXPECT_EQ(Text(read), row.readable ? "old!" : "(missing)") << row.name;

  EXPECT_EQ(files.WriteFromStart(path.string(), {'n', 'e', 'w'}), row.writable) << row.name;
  if (row.writable) {
    EXPECT_EQ(Text(files.ReadFile(path.string(), 10)), row.readable ? "new!" : "new");
  }
  if (target) {
    const bool hadContent = row.kind == test::Special::LinkToFile;
    EXPECT_EQ(test::ContentOf(*target), hadContent ? "old!" : "(missing)")
        << row.name << ": the file outside the folder must be left as it was";
    EXPECT_TRUE(fs::is_symlink(path)) << row.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Kinds, HeadlessFilesSpecial, testing::ValuesIn(test::kSpecialRows),
                         test::SpecialRowName);

}  // namespace
}  // namespace raz
