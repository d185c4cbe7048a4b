#pragma once
// Command line of razazide-record.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace raz::record {

struct RecorderOptions {
  std::uint32_t seconds = 0;            // 0: the default length
  std::uint32_t pollMs = 0;             // 0: the default period
  std::optional<std::int32_t> framing;  // none: the program folder's server111.txt
  std::string outFolder;                // empty: a new folder on the desktop
  bool help = false;
};

struct ParsedRecorderOptions {
  RecorderOptions options;
  std::vector<std::string> errors;
};

ParsedRecorderOptions ParseRecorderOptions(const std::vector<std::string>& args);
std::string RecorderUsage();

}  // namespace raz::record
