#pragma once
// Runs the driver without a window system: the same handlers in the same order as the real
// program, fired by a deterministic scheduler on a virtual clock.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/timer_watch.h"
#include "platform/headless/headless_devices.h"
#include "platform/platform.h"

namespace raz {

class HeadlessHost {
 public:
  // The clock is the platform's: the host moves it, the driver and simulated devices read it.
  HeadlessHost(Platform& platform, VirtualClock& clock);

  // Creates the main window (its start-up runs) and then the settings dialog.
  void Start();
  // Fires every timer that falls due up to and including the given virtual time.
  void RunUntil(std::uint64_t micros);
  void RunFor(std::uint64_t micros) { RunUntil(clock_.NowMicros() + micros); }
  // Runs a menu or button handler the way the message loop would.
  void Dispatch(const std::function<void()>& handler);
  // A message sent to the main window: its result, or nullopt when the default handling takes
  // it. A pop-up menu the handler asks for is recorded, as shown, in popups().
  std::optional<std::intptr_t> Deliver(std::uint32_t message, std::uintptr_t wParam,
                                       std::intptr_t lParam);
  struct MenuPopup {
    int x, y;
    bool operator==(const MenuPopup&) const = default;
  };
  const std::vector<MenuPopup>& popups() const { return popups_; }
  // A client's request message, sent as the real host's window procedure receives it: the
  // handler's answer is the message result (0 when the handler fails).
  std::intptr_t SendClientRequest(std::uintptr_t wParam, std::intptr_t lParam);

  bool Closed() const { return closed_; }
  const VirtualClock& clock() const { return clock_; }
  Application& app() { return app_; }
  DriverState& state() { return app_.state(); }
  TForm1& form1() { return app_.form1(); }
  TForm2& form2() { return app_.form2(); }
  // Messages of exceptions that escaped a handler, as the real host would have shown them.
  const std::vector<std::string>& shownErrors() const { return errors_; }
  // Called after every handler; the simulator logs from here.
  std::function<void()> afterHandler;

 private:
  void Guarded(const std::function<void()>& handler);
  void SyncTimers();
  void CloseIfRequested();
  void AfterGuarded();

  VirtualClock& clock_;
  Application app_;
  std::array<TimerWatch, 3> watches_{};
  std::array<std::uint64_t, 3> due_{};
  std::vector<std::string> errors_;
  std::vector<MenuPopup> popups_;
  bool dialogShown_ = false;
  bool closed_ = false;
};

}  // namespace raz
