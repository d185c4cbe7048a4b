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
    RefreshTrayIcon(shell, tray, "Rored_Evezed");
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
  tray.ShowsData = false;
  RefreshTrayIcon(shell, tray, "tip");
  EXPECT_TRUE(tray.Added);
  shell.trayCalls.clear();
  RefreshTrayIcon(shell, tray, "tip");
  ASSERT_EQ(shell.trayCalls.size(), 1u);
  EXPECT_EQ(shell.trayCalls[0].first, kModify);
  EXPECT_EQ(shell.trayCalls[0].second.icon, TrayIconImage::BoardGrey);
}

// The polls between two watches decide the icon: any data is a board at work; with no poll
// at all (no board opened yet) the last poll's result, at first the board with the pen, stays.
TEST(TrayIcon, TheIconGoesByEveryPollSinceThePreviousWatch) {
  const struct {
    const char* row;
    std::vector<bool> polls;
    bool shows;
  } watches[] = {
      {"no poll yet", {}, true},
      {"one poll in three finds data", {false, true, false}, true},
      {"data only in the last poll", {false, false, true}, true},
      {"no poll finds data", {false, false, false}, false},
      {"no poll since: the last one's empty queue stands", {}, false},
      {"data again", {true}, true},
  };
  TrayIconState tray;
  bool lastPoll = true;  // the reader's start value
  for (const auto& watch : watches) {
    for (bool data : watch.polls) {
      NotePoll(tray, data);
      lastPoll = data;
    }
    TakePolls(tray, lastPoll);
    EXPECT_EQ(tray.ShowsData, watch.shows) << watch.row;
  }
}

}  // namespace
}  // namespace raz
