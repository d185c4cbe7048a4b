#pragma once
// The process's one simulated board behind the exported functions: the scenario file beside
// the library, played on the performance counter from the moment the library was loaded.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/win32/win32_clock.h"
#include "sim/scenario_player.h"
#include "sim/sim_board.h"

namespace raz::siusbxp {

inline constexpr wchar_t kScenarioFileName[] = L"siusbxp-scenario.txt";
inline constexpr wchar_t kErrorFileName[] = L"siusbxp-scenario-errors.txt";

class StandInBoard {
 public:
  explicit StandInBoard(HMODULE module);
  ~StandInBoard();
  StandInBoard(const StandInBoard&) = delete;
  StandInBoard& operator=(const StandInBoard&) = delete;

  // Runs one library call on the board under the lock; the board is built on first use, so
  // that the loader lock is never held while the scenario file is read.
  template <typename Call>
  auto With(Call call) {
    ::EnterCriticalSection(&lock_);
    struct Leave {
      CRITICAL_SECTION& lock;
      ~Leave() { ::LeaveCriticalSection(&lock); }
    } leave{lock_};
    return call(Board());
  }

 private:
  sim::SimBoard& Board();
  std::wstring Folder() const;

  HMODULE module_;
  CRITICAL_SECTION lock_;
  win32::Win32Clock clock_;
  std::optional<sim::ScenarioPlayer> player_;
  std::unique_ptr<sim::SimBoard> board_;
};

}  // namespace raz::siusbxp
