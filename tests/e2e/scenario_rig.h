#pragma once
// The whole driver headless over the simulated board playing a scenario, with the scenario's
// menu and client steps given to the main window at their times, as razazide-sim does.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/form_commands.h"
#include "hosts/headless/headless_host.h"
#include "sim/scenario_parser.h"
#include "sim/scenario_player.h"
#include "sim/sim_board.h"
#include "sim/sim_desktop.h"
#include "support/test_platform.h"

namespace raz::test {

// The driver finds the board at its first device watch; the scenario starts then.
inline constexpr std::uint64_t kScenarioStart = 2'000'000;

class ScenarioRig {
 public:
  explicit ScenarioRig(const std::string& text)
      : parse_(sim::ParseScenario(text)),
        player_(parse_.scenario),
        source_(player_, kScenarioStart),
        board_(clock_, parse_.scenario.settings.board),
        platform_(&board_, &clock_),
        host_(platform_.platform, clock_) {
    EXPECT_TRUE(parse_.Ok()) << (parse_.Ok() ? "" : sim::FormatError(parse_.errors[0]));
    board_.SetPenSource(&source_);
    sim::SetUpDesktop(parse_.scenario.settings, platform_.display);
  }

  // Runs the whole scenario and then tailMicros more; no error may be shown unless expected.
  void Run(std::uint64_t tailMicros = 500'000, bool errorsExpected = false) {
    host_.Start();
    for (const sim::ScenarioAction& action : player_.Actions()) {
      host_.RunUntil(kScenarioStart + action.at);
      if (action.step.kind == sim::StepKind::Menu) {
        const FormCommand* command = FindFormCommand(action.step.item);
        ASSERT_NE(command, nullptr) << action.step.item;
        host_.Dispatch([this, command] { command->run(host_.form1()); });
      } else if (action.step.kind == sim::StepKind::Display) {
        sim::PlayDisplayStep(action.step, platform_.display);
      } else {
        host_.SendClientRequest(static_cast<std::uintptr_t>(action.step.wParam),
                                static_cast<std::intptr_t>(action.step.lParam));
      }
    }
    host_.RunUntil(kScenarioStart + player_.EndMicros() + tailMicros);
    if (!errorsExpected) {
      EXPECT_TRUE(host_.shownErrors().empty()) << host_.shownErrors().front();
    }
  }

  TestPlatform& platform() { return platform_; }
  HeadlessHost& host() { return host_; }
  sim::SimBoard& board() { return board_; }
  const sim::ScenarioPlayer& player() const { return player_; }
  std::uint64_t Now() const { return clock_.NowMicros(); }

 private:
  sim::ScenarioParse parse_;
  sim::ScenarioPlayer player_;
  sim::DelayedPenSource source_;
  VirtualClock clock_;
  sim::SimBoard board_;
  TestPlatform platform_;
  HeadlessHost host_;
};

}  // namespace raz::test
