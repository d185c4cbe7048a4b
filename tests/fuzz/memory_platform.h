#pragma once
// A headless platform whose program folder lives in memory. The fuzz targets run the start-up
// thousands of times a second, more than a real folder keeps up with; the settings file is
// still read and written by the headless INI (FindProfileValue, WithProfileValue), so the
// text goes through the same lookup as in the simulator and the tests.
#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/headless/headless_devices.h"
#include "platform/headless/headless_profile.h"
#include "platform/platform.h"

namespace raz::fuzz {

inline constexpr char kFolder[] = "C:\\RA_Zazide\\";

class MemoryFiles : public Files {
 public:
  std::string ProgramFolder() const override { return kFolder; }
  std::string ProgramPath() const override { return std::string(kFolder) + "RA_Zazide.exe"; }
  std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path,
                                                    std::size_t maxBytes) override {
    const auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    const std::size_t n = std::min(maxBytes, it->second.size());
    return std::vector<std::uint8_t>(it->second.begin(), it->second.begin() + n);
  }
  bool WriteFromStart(const std::string& path, const std::vector<std::uint8_t>& bytes) override {
    std::vector<std::uint8_t>& file = files[path];
    if (file.size() < bytes.size()) file.resize(bytes.size());
    std::copy(bytes.begin(), bytes.end(), file.begin());
    return true;
  }
  bool DeleteFile(const std::string& path) override { return files.erase(path) > 0; }
  bool SetArchiveAttribute(const std::string& path) override { return files.count(path) > 0; }

  std::map<std::string, std::vector<std::uint8_t>> files;
};

class MemoryProfile : public Profile {
 public:
  std::string ReadString(const std::string& path, const std::string& section,
                         const std::string& key, const std::string& fallback) override {
    const auto it = texts.find(path);
    if (it == texts.end()) return fallback;
    return FindProfileValue(it->second, section, key).value_or(fallback);
  }
  bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& value) override {
    texts[path] = WithProfileValue(texts[path], section, key, value);
    return true;
  }

  std::map<std::string, std::string> texts;  // path -> file text
};

// Mouse events are counted, not kept: a long run would otherwise grow without end.
class CountingMouse : public MouseOutput {
 public:
  void Emit(std::uint32_t, std::int32_t, std::int32_t) override { ++events; }
  std::uint64_t events = 0;
};

struct MemoryPlatform {
  explicit MemoryPlatform(VendorUsb& usb)
      : platform{files, profile, display, usb, mouse, messenger, shell, clock} {}

  // libFuzzer runs an input a second time, looking for a leak, whenever a run leaves more
  // allocations than it found: a target clears the platform before its run ends.
  void Clear() {
    files.files.clear();
    profile.texts.clear();
    messenger.posted = {};
    shell = HeadlessShell{};
  }

  MemoryFiles files;
  MemoryProfile profile;
  HeadlessDisplay display{1024, 768};
  CountingMouse mouse;
  HeadlessMessenger messenger;
  HeadlessShell shell;
  VirtualClock clock;
  Platform platform;
};

}  // namespace raz::fuzz
