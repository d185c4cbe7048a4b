#include "shell/autostart.h"

#include <gtest/gtest.h>

#include "storage/data_files.h"
#include "support/test_platform.h"

namespace raz {
namespace {

using Bytes = std::vector<std::uint8_t>;
const std::string kLink = "Programs/Startup/RA_Zazide.lnk";
const std::string kLegacyLink = "Programs/启动/RA_Zazide.lnk";

// Switching writes the first four bytes of server11.txt and keeps the rest; on creates the
// shortcut, off removes it and the legacy one. Without a Startup or Programs folder the rest
// still happens.
TEST(Autostart, SwitchWritesTheFlagAndCreatesOrRemovesTheShortcut) {
  const struct {
    const char* row;
    bool on;
    bool startupFolder, programsFolder;
    Bytes before, after;
    bool link, legacyLink;  // left afterwards
  } rows[] = {
      {"off", false, true, true, {1, 0, 0, 0, 0xAA, 0xBB}, {0, 0, 0, 0, 0xAA, 0xBB}, false, false},
      {"on", true, true, true, {0, 0, 0, 0, 0xAA, 0xBB}, {1, 0, 0, 0, 0xAA, 0xBB}, true, true},
      {"off, no Startup folder", false, false, true, {1, 0, 0, 0}, {0, 0, 0, 0}, true, false},
      {"off, no Programs folder", false, true, false, {1, 0, 0, 0}, {0, 0, 0, 0}, false, true},
      {"on, no Startup folder", true, false, true, {0, 0, 0, 0}, {1, 0, 0, 0}, true, true},
  };
  for (const auto& row : rows) {
    test::TestPlatform tp;
    tp.folder.Write(kAutostartFileName, row.before);
    tp.folder.WriteText(kLink, "old");
    tp.folder.WriteText(kLegacyLink, "old");
    if (!row.startupFolder) tp.shell.startupFolder.reset();
    if (!row.programsFolder) tp.shell.programsFolder.reset();
    SwitchAutostart(row.on, tp.files, tp.shell);
    SCOPED_TRACE(row.row);
    EXPECT_EQ(tp.folder.Read(kAutostartFileName), row.after);
    EXPECT_EQ(tp.folder.Exists(kLink), row.link);
    EXPECT_EQ(tp.folder.Exists(kLegacyLink), row.legacyLink);
    EXPECT_EQ(tp.shell.shortcuts.size(), row.on && row.startupFolder ? 1u : 0u);
  }
}

}  // namespace
}  // namespace raz
