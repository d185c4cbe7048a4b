// Win32VendorUsb: SIUSBXP.DLL by full path and by ordinal; a missing or incomplete library
// reads as an absent board.
#include "check_harness.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_vendor_usb.h"

namespace raz::win32::checks {
namespace {

namespace fs = std::filesystem;

// Copies a stand-in built beside this program into a folder as SIUSBXP.DLL. (The MinGW
// library's copy_file does not overwrite.)
void Install(const std::string& folder, const char* builtName) {
  fs::remove(PathOf(folder + kVendorLibraryName));
  fs::copy_file(PathOf(Win32Files().ProgramFolder() + builtName),
                PathOf(folder + kVendorLibraryName));
}

// No usable library in the program folder: no board, until a complete one is copied in.
std::string RunAbsentLibraries() {
  // What lies in the program folder and in the current directory (nullptr: nothing).
  const char* const rows[][3] = {{"missing", nullptr, nullptr},
                                 {"without ordinal 13", "fake_siusbxp_partial.dll", nullptr},
                                 {"only in the current directory", nullptr, "fake_siusbxp.dll"}};
  const fs::path before = fs::current_path();
  std::string problems;
  for (const auto& [name, inProgramFolder, inCurrentDirectory] : rows) {
    const std::string folder = ScratchFolder(std::string("usb_") + name);
    const std::string here = ScratchFolder(std::string("usb_cwd_") + name);
    if (inProgramFolder) Install(folder, inProgramFolder);
    if (inCurrentDirectory) Install(here, inCurrentDirectory);
    fs::current_path(PathOf(here));
    Win32VendorUsb usb(folder + kVendorLibraryName);
    std::uint32_t count = 99, bytes = 1, status = 0;
    UsbHandle handle = 0;
    if (usb.ProbeDevices(count) == 0 || count != 0 || usb.OpenDevice(0, handle) == 0 ||
        usb.QueueStatus(handle, bytes, status) == 0 || bytes != 0) {
      problems += std::string(name) + ": a board answered; ";
      continue;  // the library it holds cannot be replaced
    }
    Install(folder, "fake_siusbxp.dll");
    if (usb.ProbeDevices(count) != 0) problems += std::string(name) + ": copied in, not found; ";
  }
  fs::current_path(before);
  return problems;
}

// The stand-in answers a wrong argument with a non-zero status.
std::string RunOrdinalCalls() {
  const std::string folder = ScratchFolder("usb_full");
  Install(folder, "fake_siusbxp.dll");
  Win32VendorUsb usb(folder + kVendorLibraryName);
  std::uint32_t count = 0, bytes = 0, status = 1, read = 0;
  UsbHandle handle = 0;
  std::uint8_t buffer[3] = {};
  if (usb.ProbeDevices(count) != 0 || count != 1) return "probe (ordinal 1)";
  if (usb.OpenDevice(0, handle) != 0 || handle != 0x1234) return "open (ordinal 3)";
  if (usb.SetLinkRate(handle, 460800) != 0 || usb.SetLinkRate(handle, 115200) == 0) {
    return "set link rate (ordinal 13)";
  }
  if (usb.QueueStatus(handle, bytes, status) != 0 || bytes != 45 || status != 0) {
    return "queue status (ordinal 12)";
  }
  if (usb.Read(handle, buffer, 3, read) != 0 || read != 3 || buffer[0] != 0xA0 ||
      buffer[2] != 0xA2) {
    return "read (ordinal 6)";
  }
  return usb.CloseDevice(handle) == 0 ? "" : "close (ordinal 4)";
}

}  // namespace

std::vector<Case> VendorUsbCases() {
  return {
      {"VendorUsb_MissingIncompleteOrElsewhere_ReadsAsAbsentUntilCopiedIn", RunAbsentLibraries},
      {"VendorUsb_EachCallReachesItsOrdinalWithItsArguments", RunOrdinalCalls},
  };
}

}  // namespace raz::win32::checks
