#pragma once
// What razazide-record tells the user, decided from plain facts so that every case can be
// checked without a board: the vendor library's state, the recording's summary, whether the
// driver runs.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "recorder.h"

namespace raz::record {

enum class Machine { X86, X64, Other };

// The machine a Windows program or library is built for, from its first bytes (the MS-DOS
// header points at the PE header); nothing when the bytes are no PE image.
std::optional<Machine> PeMachine(std::span<const std::uint8_t> head);
const char* MachineName(Machine machine);  // "32-bit (x86)", "64-bit (x64)", "other"

enum class LibraryState {
  Loaded,
  Missing,            // no SIUSBXP.DLL in the program folder
  WrongArchitecture,  // a library for the other architecture than this program
  NotLoadable,        // there, but it would not load or lacks the board's functions
};

struct LibraryFacts {
  LibraryState state = LibraryState::Loaded;
  std::string path;
  std::string folder;
  std::optional<Machine> libraryMachine;
  Machine ownMachine = Machine::X86;
};

// The reason the recording cannot start, for every state but Loaded.
std::string ExplainLibrary(const LibraryFacts& facts);

// Why the board could not be recorded (an absent or refused board); driverRunning: an
// RA_Zazide.exe process runs.
std::string ExplainRefusal(const RecordSummary& summary, bool driverRunning);

// What was recorded, where it is and what to do with it, with warnings for a board that sent
// nothing or stopped answering.
std::string ExplainRecorded(const RecordSummary& summary, const RecordSettings& settings,
                            const std::string& captureFolder, bool driverRunning);

}  // namespace raz::record
