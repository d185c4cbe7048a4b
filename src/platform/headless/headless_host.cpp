#include "platform/headless/headless_host.h"

#include <exception>
#include <limits>

#include "storage/data_files.h"
#include "storage/settings.h"

namespace raz {

HeadlessHost::HeadlessHost(Platform& platform, VirtualClock* clock)
    : platform_(platform),
      clock_(clock != nullptr ? *clock : ownClock_),
      state_(std::make_unique<DriverState>()) {}

void HeadlessHost::Start() {
  form1_ = std::make_unique<TForm1>(*state_, platform_);
  Guarded([this] { form1_->FormCreate(); });
  form2_ = std::make_unique<TForm2>(*form1_, platform_.profile,
                                    ProgramFile(platform_.files, kSettingsFileName));
  form1_->AttachDialog(*form2_);
  Guarded([this] { form2_->FormCreate(); });
  form1_->Window.Visible = true;
  SyncTimers();
}

void HeadlessHost::Guarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    errors_.emplace_back(e.what());
  }
  if (afterHandler) afterHandler();
}

void HeadlessHost::Dispatch(const std::function<void()>& handler) {
  if (closed_) return;
  Guarded(handler);
  SyncTimers();
  CloseIfRequested();
}

void HeadlessHost::SyncTimers() {
  for (TimerId id : kAllTimers) {
    const auto i = static_cast<std::size_t>(id);
    if (watches_[i].Update(TimerOf(*form1_, id))) {
      due_[i] = clock_.NowMicros() + std::uint64_t{watches_[i].interval} * 1000;
    }
  }
}

void HeadlessHost::CloseIfRequested() {
  if (closed_ || !form1_->Window.CloseRequested) return;
  closed_ = true;
  Guarded([this] { form1_->FormDestroy(); });
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
    if (recordFirings) firings_.push_back({nextDue, kAllTimers[next]});
    Guarded([this, next] { FireTimer(*form1_, kAllTimers[next]); });
    SyncTimers();
    CloseIfRequested();
  }
  if (!closed_ && clock_.NowMicros() < micros) clock_.Set(micros);
}

}  // namespace raz
