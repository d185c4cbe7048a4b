#include "stand_in_board.h"

#include <cstdio>
#include <string_view>

#include "sim/scenario_parser.h"

namespace raz::siusbxp {
namespace {

struct FileCloser {
  HANDLE handle;
  ~FileCloser() {
    if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
  }
};

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::wstring& path) {
  const FileCloser file{::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (file.handle == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string text;
  char chunk[4096];
  DWORD got = 0;
  while (::ReadFile(file.handle, chunk, sizeof chunk, &got, nullptr) && got > 0) {
    text.append(chunk, got);
  }
  return text;
}

void AppendToFile(const std::wstring& path, std::string_view text) {
  const FileCloser file{::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (file.handle == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(file.handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

const char* ContactName(sim::PenContact contact) {
  switch (contact) {
    case sim::PenContact::Touch:
      return "touch";
    case sim::PenContact::Hover:
      return "hover";
    case sim::PenContact::RightButton:
      return "right";
    case sim::PenContact::Near:
      return "near";
    case sim::PenContact::Away:
      break;
  }
  return "away";
}

void WriteWholeFile(const std::wstring& path, std::string_view text) {
  const FileCloser file{::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (file.handle == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(file.handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace

bool BoardClaim::Take() {
  if (Held()) return true;
  std::wstring path(MAX_PATH + 1, L'\0');
  const DWORD length = ::GetTempPathW(static_cast<DWORD>(path.size()), path.data());
  if (length == 0 || length >= path.size()) return true;  // nowhere to claim: do not block
  path.resize(length);
  file_ = ::CreateFileW((path + kClaimFileName).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  return Held();
}

void BoardClaim::Release() {
  if (!Held()) return;
  ::CloseHandle(file_);
  file_ = INVALID_HANDLE_VALUE;
}

StandInBoard::StandInBoard(HMODULE module) : module_(module) {
  ::InitializeCriticalSection(&lock_);
}

StandInBoard::~StandInBoard() {
  FlushStamps();
  ::DeleteCriticalSection(&lock_);
}

std::wstring StandInBoard::Folder() const {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(module_, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return L"";
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"" : path.substr(0, slash + 1);
}

sim::SimBoard& StandInBoard::Board() {
  if (board_) return *board_;
  const std::wstring folder = Folder();
  // No scenario file: a board that stays plugged in with no pen on it.
  const std::optional<std::string> text = ReadWholeFile(folder + kScenarioFileName);
  sim::ScenarioParse parse = sim::ParseScenario(text.value_or(""));
  if (!parse.Ok()) {
    std::string report;
    for (const sim::ScenarioError& error : parse.errors) report += sim::FormatError(error) + "\r\n";
    WriteWholeFile(folder + kErrorFileName, report);
    ::OutputDebugStringA(("SIUSBXP stand-in: scenario errors\r\n" + report).c_str());
  }
  player_.emplace(parse.scenario);
  board_ = std::make_unique<sim::SimBoard>(clock_, parse.scenario.settings.board);
  board_->SetPenSource(&*player_);
  if (::GetFileAttributesW((folder + kStampFileName).c_str()) != INVALID_FILE_ATTRIBUTES) {
    stampPath_ = folder + kStampFileName;
    // Where the pen was on the screen, to the tenth of a pixel: bench/latency.sh times drags by it.
    board_->onReport = [this](const sim::SentReport& report) {
      const sim::PixelPoint at = player_->projection().ToScreen(report.pen.position);
      char pixel[48];
      std::snprintf(pixel, sizeof pixel, " %.1f %.1f", at.x, at.y);
      stamps_ += "report " + std::to_string(report.index) + " " +
                 std::to_string(clock_.SystemMicros(report.readableMicros)) + " " +
                 ContactName(report.pen.contact) + pixel + "\n";
      if (stamps_.size() > 1 << 16) FlushStamps();
    };
  }
  return *board_;
}

void StandInBoard::StampPoll() {
  if (stampPath_.empty()) return;
  stamps_ += "poll " + std::to_string(clock_.SystemMicros(clock_.NowMicros())) + "\n";
}

void StandInBoard::FlushStamps() {
  if (stampPath_.empty() || stamps_.empty()) return;
  AppendToFile(stampPath_, stamps_);
  stamps_.clear();
}

std::int32_t StandInBoard::Open(std::uint32_t deviceIndex, UsbHandle& handle) {
  return With([&](sim::SimBoard& board) {
    // An absent board says so, whoever else might hold it.
    std::uint32_t count = 0;
    const bool present = board.ProbeDevices(count) == sim::SimStatus::Success;
    if (present && !claim_.Take()) return kDeviceBusy;
    return board.OpenDevice(deviceIndex, handle);
  });
}

void StandInBoard::FollowOpenState() {
  if (claim_.Held() && !(board_ && board_->IsOpen())) claim_.Release();
}

}  // namespace raz::siusbxp
