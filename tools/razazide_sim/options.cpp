#include "options.h"

#include <charconv>

namespace raz::simcli {
namespace {

bool ParseNumber(const std::string& text, std::uint64_t& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

bool ParseScreen(const std::string& text, Options& o) {
  const auto x = text.find('x');
  std::uint64_t w = 0;
  std::uint64_t h = 0;
  if (x == std::string::npos || !ParseNumber(text.substr(0, x), w) ||
      !ParseNumber(text.substr(x + 1), h) || w == 0 || h == 0 || w > 16384 || h > 16384) {
    return false;
  }
  o.screenWidth = static_cast<int>(w);
  o.screenHeight = static_cast<int>(h);
  return true;
}

// Applies one option with its value; false when the value is not acceptable.
bool Apply(const std::string& name, const std::string& value, Options& o) {
  std::uint64_t number = 0;
  if (name == "--scenario") o.scenarioPath = value;
  else if (name == "--capture") o.capturePath = value;
  else if (name == "--folder") o.folder = value;
  else if (name == "--out") o.outPath = value;
  else if (name == "--plot") o.plotPath = value;
  else if (name == "--record") o.recordPath = value;
  else if (name == "--images") o.imagesPath = value;
  else if (name == "--screen") return ParseScreen(value, o);
  else if (name == "--framing") {
    if (value != "0" && value != "1") return false;
    o.framing = value == "1" ? 1 : 0;
  } else if (name == "--mapping") {
    if (value != "0" && value != "1") return false;
    o.mapping = value == "1" ? 1 : 0;
  } else if (name == "--pen-response") {
    if (value != "0" && value != "1") return false;
    o.penResponse = value == "1" ? 1 : 0;
  } else if (name == "--until-ms") {
    if (!ParseNumber(value, number)) return false;
    o.untilMs = number;
  } else if (name == "--start-ms") {
    if (!ParseNumber(value, number)) return false;
    o.startMs = number;
  } else {
    return false;
  }
  return true;
}

}  // namespace

const char* UsageText() {
  return "usage: razazide-sim (--scenario FILE | --capture FILE) [options]\n"
         "  --folder DIR      program folder with VaziZod.ini and the data files, which\n"
         "                    must be regular files, not links (default: a fresh empty\n"
         "                    folder, removed afterwards)\n"
         "  --keep-folder     keep that temporary folder and print its path\n"
         "  --screen WxH      display resolution (default: the scenario's, else 1024x768)\n"
         "  --framing 0|1     capture mode: framing the captured board used\n"
         "  --mapping 0|1     the Mapping setting: 0 the sector transform, 1 keystone-exact;\n"
         "                    the accuracy summary also gives the other mapping's, from a\n"
         "                    second run in a copy of the program folder\n"
         "  --pen-response 0|1  store PenResponse in the program folder's VaziZod.ini first\n"
         "  --start-ms N      driver time at which the scenario starts (default 2000,\n"
         "                    the first device watch)\n"
         "  --until-ms N      stop at this driver time (default: scenario end + 500 ms,\n"
         "                    or the last captured batch + 100 ms)\n"
         "  --out FILE        write the event lines here instead of standard output\n"
         "  --plot FILE.svg   draw the injected strokes over the scenario's true strokes\n"
         "  --record FILE     write every batch the driver read as a capture, for --capture\n"
         "  --images DIR      write Image1 as DIR/image1-target-N.png whenever a calibration\n"
         "                    target N (1..9) is shown\n";
}

ParsedOptions ParseOptions(const std::vector<std::string>& args) {
  ParsedOptions parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (name == "--help" || name == "-h") {
      parsed.help = true;
    } else if (name == "--keep-folder") {
      parsed.options.keepFolder = true;
    } else if (i + 1 >= args.size()) {
      parsed.errors.push_back(name + " needs a value");
    } else if (!Apply(name, args[i + 1], parsed.options)) {
      parsed.errors.push_back("bad option " + name + " " + args[i + 1]);
      ++i;
    } else {
      ++i;
    }
  }
  const Options& o = parsed.options;
  if (!parsed.help && o.scenarioPath.empty() == o.capturePath.empty()) {
    parsed.errors.push_back("give exactly one of --scenario and --capture");
  }
  return parsed;
}

}  // namespace raz::simcli
