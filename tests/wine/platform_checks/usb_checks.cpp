// Win32VendorUsb: loading SIUSBXP.DLL by full path, calling it by ordinal, and treating a
// missing or incomplete library as an absent board.
#include <filesystem>

#include "check_harness.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_vendor_usb.h"

namespace raz::win32::checks {
namespace {

namespace fs = std::filesystem;

// Copies one of the stand-ins built beside this program into a folder as SIUSBXP.DLL.
void InstallLibrary(const std::string& folder, const char* builtName) {
  fs::copy_file(PathOf(Win32Files().ProgramFolder() + builtName),
                PathOf(folder + kVendorLibraryName), fs::copy_options::overwrite_existing);
}

std::string RunMissingLibrary() {
  Win32VendorUsb usb(ScratchFolder("usb_missing") + kVendorLibraryName);
  std::uint32_t count = 99;
  if (usb.ProbeDevices(count) == 0) return "probe succeeded without a library";
  UsbHandle handle = 0;
  if (usb.OpenDevice(0, handle) == 0) return "open succeeded without a library";
  std::uint32_t bytes = 1, status = 0;
  if (usb.QueueStatus(handle, bytes, status) == 0 || bytes != 0) return "queue status answered";
  return Expect(count, std::uint32_t{0}, "device count");
}

std::string RunIncompleteLibrary() {
  const std::string folder = ScratchFolder("usb_partial");
  InstallLibrary(folder, "fake_siusbxp_partial.dll");
  Win32VendorUsb usb(folder + kVendorLibraryName);
  std::uint32_t count = 0;
  return usb.ProbeDevices(count) != 0 ? std::string() : "a library without ordinal 13 was used";
}

std::string RunOrdinalCalls() {
  const std::string folder = ScratchFolder("usb_full");
  InstallLibrary(folder, "fake_siusbxp.dll");
  Win32VendorUsb usb(folder + kVendorLibraryName);
  std::uint32_t count = 0;
  if (usb.ProbeDevices(count) != 0 || count != 1) return "probe (ordinal 1)";
  UsbHandle handle = 0;
  if (usb.OpenDevice(0, handle) != 0 || handle != 0x1234) return "open (ordinal 3)";
  if (usb.SetLinkRate(handle, 460800) != 0) return "set link rate (ordinal 13)";
  if (usb.SetLinkRate(handle, 115200) == 0) return "the rate did not reach the library";
  std::uint32_t bytes = 0, status = 1;
  if (usb.QueueStatus(handle, bytes, status) != 0 || bytes != 45) {
    return "queue status (ordinal 12)";
  }
  std::uint8_t buffer[3] = {};
  std::uint32_t read = 0;
  if (usb.Read(handle, buffer, 3, read) != 0 || read != 3) return "read (ordinal 6)";
  if (buffer[0] != 0xA0 || buffer[2] != 0xA2) return "read bytes";
  return usb.CloseDevice(handle) == 0 ? std::string() : "close (ordinal 4)";
}

std::string RunLibraryCopiedInLater() {
  const std::string folder = ScratchFolder("usb_later");
  Win32VendorUsb usb(folder + kVendorLibraryName);
  std::uint32_t count = 0;
  if (usb.ProbeDevices(count) == 0) return "probe succeeded before the library was there";
  InstallLibrary(folder, "fake_siusbxp.dll");
  return usb.ProbeDevices(count) == 0 ? std::string() : "the library copied in was not found";
}

// A library in the current directory, but not in the program folder, must not be used.
std::string RunIgnoresCurrentDirectory() {
  const std::string here = ScratchFolder("usb_cwd");
  InstallLibrary(here, "fake_siusbxp.dll");
  const fs::path before = fs::current_path();
  fs::current_path(PathOf(here));
  Win32VendorUsb usb(ScratchFolder("usb_cwd_program") + kVendorLibraryName);
  std::uint32_t count = 0;
  const bool probed = usb.ProbeDevices(count) == 0;
  fs::current_path(before);
  return probed ? "loaded SIUSBXP.DLL from the current directory" : std::string();
}

}  // namespace

std::vector<Case> VendorUsbCases() {
  return {
      {"VendorUsb_MissingLibrary_ReadsAsAbsentBoard", RunMissingLibrary},
      {"VendorUsb_LibraryWithoutAnOrdinal_ReadsAsAbsentBoard", RunIncompleteLibrary},
      {"VendorUsb_EachCallReachesItsOrdinalWithItsArguments", RunOrdinalCalls},
      {"VendorUsb_LibraryCopiedInLater_IsFoundAtTheNextProbe", RunLibraryCopiedInLater},
      {"VendorUsb_NeverLoadsFromTheCurrentDirectory", RunIgnoresCurrentDirectory},
  };
}

}  // namespace raz::win32::checks
