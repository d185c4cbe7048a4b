#pragma once
// Command line of razazide-sim.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace raz::simcli {

struct Options {
  std::string scenarioPath;
  std::string capturePath;
  std::string folder;  // program folder; empty: a fresh temporary one
  std::string outPath;  // JSON lines; empty: standard output
  std::string plotPath;
  std::string recordPath;  // write every read batch here as a capture
  std::string imagesPath;  // folder for Image1 as PNG at every calibration target
  std::optional<int> framing;  // capture mode: the framing the board used
  std::optional<int> mapping;  // the Mapping key written into the program folder's VaziZod.ini
  std::optional<int> penResponse;  // PenResponse stored in VaziZod.ini before the run
  int screenWidth = 0;          // 0: the scenario's screen, or 1024 x 768
  int screenHeight = 0;
  std::optional<std::uint64_t> untilMs;
  std::uint64_t startMs = 2000;  // scenario time 0 on the driver's clock: the first device watch
  bool keepFolder = false;
};

struct ParsedOptions {
  Options options;
  std::vector<std::string> errors;
  bool help = false;
};

ParsedOptions ParseOptions(const std::vector<std::string>& args);
const char* UsageText();

}  // namespace raz::simcli
