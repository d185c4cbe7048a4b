#pragma once
// The process's one simulated board behind the exported functions: the scenario file beside
// the library, played on the performance counter from the moment the library was loaded.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/win32/win32_clock.h"
#include "sim/scenario_player.h"
#include "sim/sim_board.h"

namespace raz::siusbxp {

inline constexpr wchar_t kScenarioFileName[] = L"siusbxp-scenario.txt";
inline constexpr wchar_t kErrorFileName[] = L"siusbxp-scenario-errors.txt";
// When this file lies beside the library at load, the library appends to it a line for every
// report as it becomes readable and for every poll of the driver, stamped on the performance
// counter that every process shares (bench/latency.sh).
inline constexpr wchar_t kStampFileName[] = L"siusbxp-stamps.log";
// In the temporary folder: whoever holds it open has the board.
inline constexpr wchar_t kClaimFileName[] = L"SIUSBXP stand-in board.lock";

// The status of an open refused because another process has the board; the stand-in's own
// code, like the simulator's others.
inline constexpr std::int32_t kDeviceBusy = 0x05;

// A real board is one USB device: while one process has it open, an open from another process
// fails. Each process loads its own copy of the stand-in, so the claim lives outside them: a
// lock file opened without sharing, held from a successful open until the close, the cable
// coming out or the end of the process (the system closes the handle and deletes the file).
class BoardClaim {
 public:
  BoardClaim() = default;
  BoardClaim(const BoardClaim&) = delete;
  BoardClaim& operator=(const BoardClaim&) = delete;
  ~BoardClaim() { Release(); }

  // True when this process holds the board now (it may have held it already).
  bool Take();
  void Release();
  bool Held() const { return file_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
};

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
      StandInBoard& board;
      ~Leave() {
        board.FollowOpenState();
        ::LeaveCriticalSection(&board.lock_);
      }
    } leave{*this};
    return call(Board());
  }

  // Open, refused while another process has the board.
  std::int32_t Open(std::uint32_t deviceIndex, UsbHandle& handle);

  // A poll of the driver (a queue-status call), when stamps are kept.
  void StampPoll();
  // Writes the stamps kept so far.
  void FlushStamps();

 private:
  sim::SimBoard& Board();
  std::wstring Folder() const;
  // The claim goes when the board closes, however that happened (close, unplug).
  void FollowOpenState();

  BoardClaim claim_;

  HMODULE module_;
  CRITICAL_SECTION lock_;
  win32::Win32Clock clock_;
  std::optional<sim::ScenarioPlayer> player_;
  std::unique_ptr<sim::SimBoard> board_;
  std::wstring stampPath_;  // empty: no stamps
  std::string stamps_;
};

}  // namespace raz::siusbxp
