#include "shell/tray.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_devices.h"

namespace raz {
namespace {

using Ops = std::vector<TrayOperation>;
constexpr TrayOperation kAdd = TrayOperation::Add;
constexpr TrayOperation kModify = TrayOperation::Modify;

// One refresh after another while the taskbar comes and goes: the icon is added while it is
// missing, and only then.
TEST(TrayIcon, RefreshAddsTheIconUntilTheTaskbarHasIt) {
  const struct {
    const char* step;
    bool taskbarUp;    // the notification area exists during this refresh
    bool taskbarAnew;  // it was made anew just before (the icon is gone)
    Ops calls;
    bool added;
  } steps[] = {
      {"start-up, no taskbar yet", false, false, {kAdd, kModify}, false},
      {"still none: asked again", false, false, {kAdd, kModify}, false},
      {"taskbar up: added at last", true, true, {kAdd, kModify}, true},
      {"there: modified only", true, false, {kModify}, true},
      {"taskbar made anew: the modify fails", true, true, {kModify}, false},
      {"added again at the next refresh", true, false, {kAdd, kModify}, true},
  };
  HeadlessShell shell;
  TrayIconState tray;
  for (const auto& step : steps) {
    if (step.taskbarAnew || !step.taskbarUp) shell.SetTrayAvailable(step.taskbarUp);
    shell.trayCalls.clear();
    RefreshTrayIcon(shell, tray, true, "Rored_Evezed");
    Ops calls;
    for (const auto& call : shell.trayCalls) calls.push_back(call.first);
    EXPECT_EQ(calls, step.calls) << step.step;
    EXPECT_EQ(tray.Added, step.added) << step.step;
  }
}

// An add the system refuses because the icon is there already is no reason to keep adding.
TEST(TrayIcon, AFailedAddOfAnIconThatIsThereIsCorrectedByTheModify) {
  HeadlessShell shell;
  ASSERT_TRUE(shell.NotifyIcon(kAdd, {}));
  TrayIconState tray;  // believes the icon missing
  RefreshTrayIcon(shell, tray, false, "tip");
  EXPECT_TRUE(tray.Added);
  shell.trayCalls.clear();
  RefreshTrayIcon(shell, tray, false, "tip");
  ASSERT_EQ(shell.trayCalls.size(), 1u);
  EXPECT_EQ(shell.trayCalls[0].first, kModify);
  EXPECT_EQ(shell.trayCalls[0].second.icon, TrayIconImage::BoardGrey);
}

}  // namespace
}  // namespace raz
