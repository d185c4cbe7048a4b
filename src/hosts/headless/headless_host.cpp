#include "hosts/headless/headless_host.h"

#include <limits>

namespace raz {

HeadlessHost::HeadlessHost(Platform& platform, VirtualClock& clock)
    : clock_(clock), app_(platform) {}

void HeadlessHost::Start() {
  Guarded([this] { app_.StartMainWindow(); });
  Guarded([this] { app_.StartSettingsDialog(); });
  form1().Window.Visible = true;
  SyncTimers();
}

void HeadlessHost::Guarded(const std::function<void()>& handler) {
  app_.Run(handler);
  AfterGuarded();
  for (std::string& e : app_.TakeErrors()) errors_.push_back(std::move(e));
  if (afterHandler) afterHandler();
}

// What the real host does after every handler besides syncing: the dialog's OnShow as it
// becomes visible, and the pop-up menu a handler asked for.
void HeadlessHost::AfterGuarded() {
  TForm2& dialog = form2();
  if (dialog.Window.Visible && !dialogShown_) app_.Run([&dialog] { dialog.FormShow(); });
  dialogShown_ = dialog.Window.Visible;
  PopupMenu& menu = form1().PopupMenu1;
  if (menu.PopupRequested) {
    menu.PopupRequested = false;
    popups_.push_back({menu.PopupX, menu.PopupY});
  }
}

std::optional<std::intptr_t> HeadlessHost::Deliver(std::uint32_t message, std::uintptr_t wParam,
                                                   std::intptr_t lParam) {
  std::optional<std::intptr_t> result;
  Dispatch([&] { result = form1().WindowMessage(message, wParam, lParam); });
  return result;
}

void HeadlessHost::Dispatch(const std::function<void()>& handler) {
  if (closed_) return;
  Guarded(handler);
  SyncTimers();
  CloseIfRequested();
}

std::intptr_t HeadlessHost::SendClientRequest(std::uintptr_t wParam, std::intptr_t lParam) {
  std::intptr_t result = 0;
  Dispatch([&] { result = form1().ClientRequestMessage(wParam, lParam); });
  return result;
}

void HeadlessHost::SyncTimers() {
  for (TimerId id : kAllTimers) {
    const auto i = static_cast<std::size_t>(id);
    if (watches_[i].Update(TimerOf(form1(), id))) {
      due_[i] = clock_.NowMicros() + std::uint64_t{watches_[i].interval} * 1000;
    }
  }
}

void HeadlessHost::CloseIfRequested() {
  if (closed_ || !form1().Window.CloseRequested) return;
  closed_ = true;
  Guarded([this] { form1().FormDestroy(); });
}

void HeadlessHost::RunUntil(std::uint64_t micros) {
  while (!closed_) {
    std::size_t next = watches_.size();
    std::uint64_t nextDue = std::numeric_limits<std::uint64_t>::max();
    for (std::size_t i = 0; i < watches_.size(); ++i) {
      if (watches_[i].enabled && watches_[i].interval > 0 && due_[i] < nextDue) {
        next = i;
        nextDue = due_[i];
      }
    }
    if (next == watches_.size() || nextDue > micros) break;
    clock_.Set(nextDue);
    // A periodic timer keeps its phase; a handler that changes it restarts it in SyncTimers.
    due_[next] += std::uint64_t{watches_[next].interval} * 1000;
    Guarded([this, next] { FireTimer(form1(), kAllTimers[next]); });
    SyncTimers();
    CloseIfRequested();
  }
  if (!closed_ && clock_.NowMicros() < micros) clock_.Set(micros);
}

}  // namespace raz
