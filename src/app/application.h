#pragma once
// The program as both hosts run it: the driver state, the two windows' models, the start-up
// order and the one guard every handler runs under.
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/driver_state.h"
#include "app/form1.h"
#include "app/form2.h"
#include "platform/platform.h"

namespace raz {

class Application {
 public:
  explicit Application(Platform& platform);
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // The start-up, in its order: the main window's (FormCreate), then the settings dialog's,
  // which takes the choices the main window loaded. A host that creates real windows calls
  // each inside the creation of its window.
  void StartMainWindow();
  void StartSettingsDialog();

  // Runs one handler. An exception that escapes it is kept, as the message the user is to be
  // shown, and the program goes on.
  void Run(const std::function<void()>& handler);
  // The messages of escaped exceptions since the last call, oldest first.
  std::vector<std::string> TakeErrors();

  DriverState& state() { return *state_; }
  TForm1& form1() { return *form1_; }
  TForm2& form2() { return *form2_; }
  Platform& platform() { return platform_; }

 private:
  Platform& platform_;
  std::unique_ptr<DriverState> state_;
  std::unique_ptr<TForm1> form1_;
  std::unique_ptr<TForm2> form2_;
  std::deque<std::string> errors_;
};

}  // namespace raz
