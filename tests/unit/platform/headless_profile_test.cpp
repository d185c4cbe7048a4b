#include "platform/headless/headless_profile.h"

#include <gtest/gtest.h>

#include "support/test_platform.h"

namespace raz {
namespace {

// ASCII text as a UTF-16LE file holds it.
std::string Utf16Le(std::string_view ascii) {
  std::string bytes = "\xFF\xFE";
  for (const char c : ascii) bytes += {c, '\0'};
  return bytes;
}

// Notepad saves a settings file in UTF-16 or with a UTF-8 mark; the first section must be found
// right behind the mark, and a write must keep the file's encoding.
TEST(HeadlessProfileEncoding, TheFirstSectionIsReadAndAWriteKeepsTheEncoding) {
  const struct {
    const char* name;
    std::string (*file)(std::string_view text);
  } rows[] = {
      {"plain", [](std::string_view t) { return std::string(t); }},
      {"UTF-8 with mark", [](std::string_view t) { return "\xEF\xBB\xBF" + std::string(t); }},
      {"UTF-16LE with mark", Utf16Le},
  };
  for (const auto& row : rows) {
    test::TempFolder folder;
    const std::string path = folder.File("VaziZod.ini");
    folder.WriteText("VaziZod.ini",
                     row.file("[PARAMETERS]\r\nPen=7\r\n[language]\r\nSelect=1\r\n"));
    HeadlessProfile profile;
    SCOPED_TRACE(row.name);
    EXPECT_EQ(profile.ReadString(path, "PARAMETERS", "Pen", "fallback"), "7");
    ASSERT_TRUE(profile.WriteString(path, "PARAMETERS", "vkey", "1"));
    EXPECT_EQ(folder.ReadText("VaziZod.ini"),
              row.file("[PARAMETERS]\r\nPen=7\r\nvkey=1\r\n[language]\r\nSelect=1\r\n"));
    EXPECT_EQ(profile.ReadString(path, "PARAMETERS", "vkey", "fallback"), "1");
    EXPECT_EQ(profile.ReadString(path, "language", "Select", "fallback"), "1");
  }
}

}  // namespace
}  // namespace raz
