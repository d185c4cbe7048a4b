#include "explain.h"

#include <cstdio>

namespace raz::record {
namespace {

constexpr std::size_t kPeOffsetField = 0x3C;
constexpr std::uint16_t kMachineX86 = 0x014C;
constexpr std::uint16_t kMachineX64 = 0x8664;

std::uint32_t LittleEndian(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t count) {
  std::uint32_t value = 0;
  for (std::size_t i = count; i-- > 0;) value = value << 8 | bytes[at + i];
  return value;
}

std::string Seconds(std::uint64_t micros) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", static_cast<double>(micros) / 1e6);
  return text;
}

constexpr char kExitDriver[] =
    "Exit RA_Zazide first (click its tray icon, choose EXIT / 退出), "
    "then run razazide-record again; start RA_Zazide again afterwards.";

}  // namespace

std::optional<Machine> PeMachine(std::span<const std::uint8_t> head) {
  if (head.size() < kPeOffsetField + 4 || head[0] != 'M' || head[1] != 'Z') return std::nullopt;
  const std::size_t pe = LittleEndian(head, kPeOffsetField, 4);
  if (pe > head.size() || head.size() - pe < 6) return std::nullopt;
  if (head[pe] != 'P' || head[pe + 1] != 'E' || head[pe + 2] != 0 || head[pe + 3] != 0) {
    return std::nullopt;
  }
  switch (LittleEndian(head, pe + 4, 2)) {
    case kMachineX86:
      return Machine::X86;
    case kMachineX64:
      return Machine::X64;
    default:
      return Machine::Other;
  }
}

const char* MachineName(Machine machine) {
  switch (machine) {
    case Machine::X86:
      return "32-bit (x86)";
    case Machine::X64:
      return "64-bit (x64)";
    case Machine::Other:
      break;
  }
  return "other";
}

std::string ExplainLibrary(const LibraryFacts& facts) {
  switch (facts.state) {
    case LibraryState::Loaded:
      return "";
    case LibraryState::Missing:
      return "The board's library SIUSBXP.DLL is not in " + facts.folder +
             ". Copy the board's own SIUSBXP.DLL (from the board's disc or its maker) into "
             "that folder, beside RA_Zazide.exe, and run razazide-record again.";
    case LibraryState::WrongArchitecture: {
      const std::string library =
          facts.libraryMachine ? MachineName(*facts.libraryMachine) : "unknown";
      return facts.path + " is a " + library + " library, but this razazide-record is " +
             MachineName(facts.ownMachine) + ": the two cannot work together. Install the " +
             library +
             " RA_Zazide, which matches the board's library, and record with its "
             "razazide-record.";
    }
    case LibraryState::NotLoadable:
      return facts.path +
             " could not be loaded, or it lacks the board's functions: it does not seem to be "
             "the board's vendor library. Copy the board's own SIUSBXP.DLL into " +
             facts.folder + ".";
  }
  return "";
}

std::string ExplainRefusal(const RecordSummary& summary, bool driverRunning) {
  const std::string status = std::to_string(summary.status);
  if (summary.outcome == RecordOutcome::BoardAbsent) {
    return "The board is not connected: its library found no board (status " + status +
           "). Check the board's USB cable and plug it into another USB port if need be, then "
           "run razazide-record again.";
  }
  if (driverRunning) {
    return "The board is in use by RA_Zazide, which keeps it open while it runs (the board "
           "refused a second open, status " +
           status + "). " + kExitDriver;
  }
  return "The board is connected but could not be opened (status " + status +
         "): another program may be using it. Close that program, or unplug the board and plug "
         "it in again, then run razazide-record again.";
}

std::string ExplainRecorded(const RecordSummary& summary, const RecordSettings& settings,
                            const std::string& captureFolder, bool driverRunning) {
  std::string text = "Recorded " + std::to_string(settings.seconds) +
                     " s from the board: " + std::to_string(summary.polls) + " polls, " +
                     std::to_string(summary.pollsWithData) + " with data, " +
                     std::to_string(summary.bytes) + " bytes.\n";
  if (summary.bytes == 0) {
    text +=
        "WARNING: the board sent nothing. Was the pen on the board while recording? If it "
        "was, the board or its cable may be at fault: say so to support.\n";
  }
  if (summary.firstFailureMicros) {
    text += "WARNING: the board stopped answering after " + Seconds(*summary.firstFailureMicros) +
            " s (" + std::to_string(summary.failedPolls) +
            " polls refused): was the cable pulled out?\n";
  }
  if (driverRunning) {
    text +=
        "WARNING: RA_Zazide was running and reads the same board, so this capture may miss "
        "what it read. " +
        std::string(kExitDriver) + "\n";
  }
  text += "The capture and copies of the settings are in " + captureFolder +
          ". Send that folder to support: right-click it, choose Send to > Compressed (zipped) "
          "folder, and attach the zip file to your e-mail.";
  return text;
}

}  // namespace raz::record
