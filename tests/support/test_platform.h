#pragma once
// A headless platform around a fresh temporary program folder, removed afterwards.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/headless/headless_devices.h"
#include "platform/headless/headless_files.h"
#include "platform/headless/headless_profile.h"
#include "platform/platform.h"

namespace raz::test {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  void Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
  void WriteText(const std::string& name, const std::string& text) const;
  std::vector<std::uint8_t> Read(const std::string& name) const;
  std::string ReadText(const std::string& name) const;
  bool Exists(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

// A whole file as it lies on disk, or nothing when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

struct TestPlatform {
  // A simulated board that needs the time shares the platform's clock: pass it in, or the
  // platform keeps its own.
  explicit TestPlatform(VendorUsb* board = nullptr, VirtualClock* sharedClock = nullptr);

  TempFolder folder;
  HeadlessFiles files;
  HeadlessProfile profile;
  HeadlessDisplay display{1024, 768};
  AbsentBoardUsb absentBoard;
  HeadlessMouseOutput mouse;
  HeadlessMessenger messenger;
  HeadlessShell shell;
  VirtualClock ownClock;
  VirtualClock& clock;
  Platform platform;
};

}  // namespace raz::test
