#include "vkeys/key_actions.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/headless/headless_devices.h"

namespace raz {
namespace {

KeyLayout HundredWideBands() {
  KeyLayout layout;
  for (int n = 0; n < 10; ++n) layout.KeyBounds[n] = 1000 + 100 * n;
  return layout;
}

TEST(KeyActionAt, EachBandHasItsActionAndBoundariesHaveNone) {
  struct Row {
    std::int32_t rawY;
    bool calibrates;
    std::optional<std::uint32_t> command;
  };
  const Row rows[] = {
      {1050, true, std::nullopt},  {1150, false, 2001},         {1250, false, 2006},
      {1350, false, 2014},         {1450, false, 2004},         {1550, false, 2013},
      {1650, false, 2003},         {1750, false, 2002},         {1850, false, 2000},
      {1899, false, 2000},         {1001, true, std::nullopt},  {1100, false, std::nullopt},
      {1000, false, std::nullopt}, {1900, false, std::nullopt}, {999, false, std::nullopt},
      {1901, false, std::nullopt},
  };
  const KeyLayout layout = HundredWideBands();
  for (const Row& row : rows) {
    const MarginKeyAction action = KeyActionAt(row.rawY, layout);
    EXPECT_EQ(action.StartsCalibration, row.calibrates) << "raw Y " << row.rawY;
    EXPECT_EQ(action.Command, row.command) << "raw Y " << row.rawY;
  }
}

TEST(AnswerClientRequest, RegistrationAndTheTwoQueries) {
  struct Row {
    std::uintptr_t wParam;
    std::intptr_t lParam;
    bool boardPresent;
    std::intptr_t result;
    WindowHandle clientAfter;
  };
  const Row rows[] = {
      {101, 0x1234, false, 1, 0x1234}, {325, 0x99, true, 1, 0x77}, {325, 0x99, false, 0, 0x77},
      {326, 0, false, 9, 0x77},        {326, 5, true, 9, 0x77},    {0, 0x99, true, 0, 0x77},
      {102, 0x99, true, 0, 0x77},      {327, 0, true, 0, 0x77},
  };
  HeadlessMessenger windows;
  for (const Row& row : rows) {
    ClientLink client{0x77};
    const std::string what = "wParam " + std::to_string(row.wParam) +
                             (row.boardPresent ? ", board present" : ", no board");
    EXPECT_EQ(AnswerClientRequest(row.wParam, row.lParam, row.boardPresent, windows, client),
              row.result)
        << what;
    EXPECT_EQ(client.ClientWindow, row.clientAfter) << what;
  }
}

// The key commands go to whatever is registered: a refused registration answers 0 and leaves
// the client as it was.
TEST(AnswerClientRequest, OnlyAnotherProgramsTopLevelWindowRegisters) {
  struct Row {
    const char* what;
    WindowHandle window;
    std::optional<WindowKind> kind;  // as the system says; none: a made-up handle
    std::intptr_t result;
    WindowHandle clientAfter;
  };
  const Row rows[] = {
      {"another program's window", 0x1234, std::nullopt, 1, 0x1234},
      {"HWND_BROADCAST", kBroadcastWindow, std::nullopt, 0, 0x77},
      {"HWND_BROADCAST, whatever the system says", kBroadcastWindow,
       WindowKind::OtherProgramsTopLevel, 0, 0x77},
      {"no handle", 0, std::nullopt, 0, 0x77},
      {"a window that is gone", 0x1234, WindowKind::NotAWindow, 0, 0x77},
      {"another program's control", 0x1234, WindowKind::ChildWindow, 0, 0x77},
      {"this program's own window", 0x1234, WindowKind::OwnWindow, 0, 0x77},
  };
  for (const Row& row : rows) {
    HeadlessMessenger windows;
    if (row.kind) windows.kinds[row.window] = *row.kind;
    ClientLink client{0x77};
    EXPECT_EQ(AnswerClientRequest(kRegisterClient, static_cast<std::intptr_t>(row.window), true,
                                  windows, client),
              row.result)
        << row.what;
    EXPECT_EQ(client.ClientWindow, row.clientAfter) << row.what;
  }
}

TEST(WindowName, KeepsNinetyNineWholeCharactersOfAnyScript) {
  struct Row {
    std::string value;
    std::string kept;
  };
  std::string chinese120;
  std::string chinese99;
  for (int i = 0; i < 120; ++i) {
    chinese120 += "字";
    if (i < 99) chinese99 += "字";
  }
  const Row rows[] = {
      {"Notepad", "Notepad"},
      {std::string(150, 'a'), std::string(99, 'a')},
      {chinese120, chinese99},
      {"白板" + std::string(98, 'x'), "白板" + std::string(97, 'x')},
      {"", ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(WindowName(row.value), row.kept) << row.value.size() << " bytes";
  }
}

}  // namespace
}  // namespace raz
