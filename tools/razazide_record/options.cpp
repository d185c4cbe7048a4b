#include "options.h"

#include <charconv>

#include "recorder.h"

namespace raz::record {
namespace {

constexpr std::uint32_t kMaxSeconds = 3600;
constexpr std::uint32_t kMaxPollMs = 100;

bool ParseCount(const std::string& text, std::uint32_t low, std::uint32_t high,
                std::uint32_t& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && value >= low && value <= high;
}

}  // namespace

std::string RecorderUsage() {
  return "usage: razazide-record [--seconds N] [--framing 0|1] [--poll-ms N] [--out FOLDER]\n"
         "Records what the board sends, for support: exit RA_Zazide first (tray icon, EXIT).\n"
         "  --seconds N    how long to record (default " +
         std::to_string(kDefaultSeconds) + ", at most " + std::to_string(kMaxSeconds) +
         ")\n"
         "  --framing 0|1  the board's report framing (default: server111.txt of this folder)\n"
         "  --poll-ms N    poll period in ms (default " +
         std::to_string(kDefaultPollMs) +
         ", as the driver's first poll interval)\n"
         "  --out FOLDER   where the capture and copies of the settings go\n"
         "                 (default: a new folder on the desktop)\n";
}

ParsedRecorderOptions ParseRecorderOptions(const std::vector<std::string>& args) {
  ParsedRecorderOptions parsed;
  RecorderOptions& o = parsed.options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (name == "--help" || name == "-h" || name == "/?") {
      o.help = true;
      continue;
    }
    if (i + 1 >= args.size()) {
      parsed.errors.push_back(name == "--seconds" || name == "--framing" || name == "--poll-ms" ||
                                      name == "--out"
                                  ? name + " needs a value"
                                  : "unknown option " + name);
      continue;
    }
    const std::string& value = args[++i];
    std::uint32_t number = 0;
    bool ok = true;
    if (name == "--seconds") {
      ok = ParseCount(value, 1, kMaxSeconds, number);
      o.seconds = number;
    } else if (name == "--poll-ms") {
      ok = ParseCount(value, 1, kMaxPollMs, number);
      o.pollMs = number;
    } else if (name == "--framing") {
      ok = value == "0" || value == "1";
      o.framing = value == "1" ? 1 : 0;
    } else if (name == "--out") {
      ok = !value.empty();
      o.outFolder = value;
    } else {
      parsed.errors.push_back("unknown option " + name);
      --i;  // the word after it is not its value
      continue;
    }
    if (!ok) parsed.errors.push_back("bad value for " + name + ": '" + value + "'");
  }
  return parsed;
}

}  // namespace raz::record
