// razazide-record: records what the board sends, for support. Installed beside RA_Zazide.exe,
// it loads the board's SIUSBXP.DLL from its own folder, opens the board, polls it for a while
// and writes a capture that razazide-sim --capture replays, together with copies of the
// program folder's settings. It says plainly when the library is missing or unusable, when the
// board is absent, and when the running driver holds the board.
#include <windows.h>
// After windows.h, which they need.
#include <knownfolders.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "explain.h"
#include "options.h"
#include "platform/win32/precise_timer.h"
#include "platform/win32/utf.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_vendor_usb.h"
#include "recorder.h"
#include "storage/data_files.h"
#include "storage/settings.h"

namespace {

namespace fs = std::filesystem;
using namespace raz::record;
using raz::win32::Narrow;
using raz::win32::Widen;

constexpr char kCaptureFileName[] = "board.capture";
constexpr wchar_t kDriverExe[] = L"RA_Zazide.exe";
constexpr int kExitRecorded = 0;
constexpr int kExitNoBoard = 1;
constexpr int kExitUsage = 2;
constexpr int kExitCannotWrite = 3;

#ifdef _WIN64
constexpr Machine kOwnMachine = Machine::X64;
#else
constexpr Machine kOwnMachine = Machine::X86;
#endif

// A console shows any language; a pipe or file gets UTF-8.
void Print(const std::string& text) {
  const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  const std::string line = text + "\n";
  DWORD mode = 0;
  DWORD written = 0;
  if (::GetConsoleMode(out, &mode)) {
    const std::wstring wide = Widen(line);
    ::WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  } else {
    ::WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  }
}

bool DriverRunning() {
  const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  bool found = false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more && !found;
       more = ::Process32NextW(snapshot, &entry)) {
    found = ::_wcsicmp(entry.szExeFile, kDriverExe) == 0;
  }
  ::CloseHandle(snapshot);
  return found;
}

std::vector<std::uint8_t> ReadHead(const fs::path& path, std::size_t maxBytes) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> bytes(maxBytes);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(maxBytes));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

// What is wrong with the library before the board is asked anything, as far as the file says.
LibraryFacts InspectLibrary(const fs::path& folder) {
  LibraryFacts facts;
  const fs::path path = folder / raz::win32::kVendorLibraryName;
  facts.path = Narrow(path.wstring());
  facts.folder = Narrow(folder.wstring());
  facts.ownMachine = kOwnMachine;
  std::error_code error;
  if (!fs::is_regular_file(path, error)) {
    facts.state = LibraryState::Missing;
    return facts;
  }
  facts.libraryMachine = PeMachine(ReadHead(path, 4096));
  if (facts.libraryMachine && *facts.libraryMachine != kOwnMachine) {
    facts.state = LibraryState::WrongArchitecture;
  }
  return facts;
}

std::string Timestamp(const char* format) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_s(&local, &now);
  char text[64];
  std::strftime(text, sizeof text, format, &local);
  return text;
}

fs::path DefaultOutFolder(const fs::path& programFolder) {
  fs::path base = programFolder;
  PWSTR desktop = nullptr;
  if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &desktop))) {
    base = desktop;
  }
  ::CoTaskMemFree(desktop);
  return base / ("RA_Zazide capture " + Timestamp("%Y-%m-%d %H-%M-%S"));
}

// The replay needs the user's settings and calibration; its server111.txt says the framing
// that was recorded, even when --framing overrode the folder's.
void CopySettings(const fs::path& from, const fs::path& to, std::int32_t framing) {
  for (const char* name :
       {raz::kSettingsFileName, raz::kCalibrationFileName, raz::kAutostartFileName,
        raz::kFramingFileName, raz::kBoardModelFileName}) {
    std::error_code error;
    fs::copy_file(from / name, to / name, fs::copy_options::overwrite_existing, error);
  }
  std::ofstream flag(to / raz::kFramingFileName, std::ios::binary | std::ios::trunc);
  for (int shift = 0; shift < 32; shift += 8) flag.put(static_cast<char>(framing >> shift & 0xFF));
}

int Record(const RecorderOptions& options) {
  raz::win32::Win32Files files;
  const fs::path programFolder = fs::path(Widen(files.ProgramFolder()));
  LibraryFacts library = InspectLibrary(programFolder);
  if (library.state != LibraryState::Loaded) {
    Print(ExplainLibrary(library));
    return kExitNoBoard;
  }

  RecordSettings settings;
  if (options.seconds != 0) settings.seconds = options.seconds;
  if (options.pollMs != 0) settings.pollMs = options.pollMs;
  const std::optional<std::int32_t> storedFraming = raz::LoadFlag(files, raz::kFramingFileName);
  settings.framing = options.framing.value_or(storedFraming.value_or(0));

  raz::win32::Win32VendorUsb usb(Narrow(fs::path(library.path).wstring()));
  std::uint32_t count = 0;
  usb.ProbeDevices(count);  // loads the library
  if (!usb.LibraryLoaded()) {
    library.state = LibraryState::NotLoadable;
    Print(ExplainLibrary(library));
    return kExitNoBoard;
  }

  const fs::path outFolder = options.outFolder.empty() ? DefaultOutFolder(programFolder)
                                                       : fs::path(Widen(options.outFolder));
  std::error_code error;
  fs::create_directories(outFolder, error);
  const fs::path capturePath = outFolder / kCaptureFileName;
  std::ofstream capture(capturePath, std::ios::binary | std::ios::trunc);
  if (!capture) {
    Print("Cannot write " + Narrow(capturePath.wstring()) + ": choose another folder with --out.");
    return kExitCannotWrite;
  }
  capture << "# razazide-record " << RAZ_VERSION << " " << MachineName(kOwnMachine)
          << ": the board's read batches, for razazide-sim --capture\n"
          << "# recorded " << Timestamp("%Y-%m-%d %H:%M:%S") << " (local time) from "
          << library.path << "\n";

  Print("Recording " + std::to_string(settings.seconds) + " s from the board (framing " +
        std::to_string(settings.framing) + "): write, tap and right-click on the board now.");
  raz::win32::PreciseTimer timer;
  timer.Start(settings.pollMs);
  raz::win32::Win32Clock clock;
  const RecordSummary summary = RecordBoard(
      usb, clock, [&] { ::WaitForSingleObject(timer.Handle(), INFINITE); }, settings, capture);
  timer.Stop();
  capture.close();

  const bool driverRunning = DriverRunning();
  if (summary.outcome != RecordOutcome::Recorded) {
    fs::remove(capturePath, error);
    fs::remove(outFolder, error);  // only when empty
    Print(ExplainRefusal(summary, driverRunning));
    return kExitNoBoard;
  }
  CopySettings(programFolder, outFolder, settings.framing);
  Print(ExplainRecorded(summary, settings, Narrow(outFolder.wstring()), driverRunning));
  return kExitRecorded;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(Narrow(argv[i]));
  const ParsedRecorderOptions parsed = ParseRecorderOptions(args);
  int code = kExitUsage;
  if (parsed.options.help) {
    Print(RecorderUsage());
    code = kExitRecorded;
  } else if (!parsed.errors.empty()) {
    for (const std::string& e : parsed.errors) Print("razazide-record: " + e);
    Print(RecorderUsage());
  } else {
    code = Record(parsed.options);
  }
  // Started from the Start menu, the console window would close before it could be read.
  if (argc == 1) {
    Print("Press Enter to close this window.");
    std::cin.get();
  }
  return code;
}
