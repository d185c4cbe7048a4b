#pragma once
// The board's vendor library, SIUSBXP.DLL, loaded from the program folder at run time and
// called by ordinal. Without the library (or with one that lacks an ordinal) the board reads
// as absent; every probe tries the load again, so a library copied in later is found.
#include <optional>
#include <string>

#include "platform/vendor_usb.h"
#include "platform/win32/siusbxp_abi.h"
#include "platform/win32/unique_handles.h"

namespace raz::win32 {

inline constexpr char kVendorLibraryName[] = "SIUSBXP.DLL";

class Win32VendorUsb : public VendorUsb {
 public:
  // libraryPath: full path of the library; it is never looked up on the search path.
  explicit Win32VendorUsb(std::string libraryPath);

  std::int32_t ProbeDevices(std::uint32_t& deviceCount) override;
  std::int32_t OpenDevice(std::uint32_t deviceIndex, UsbHandle& handle) override;
  std::int32_t CloseDevice(UsbHandle handle) override;
  std::int32_t SetLinkRate(UsbHandle handle, std::uint32_t bitsPerSecond) override;
  std::int32_t QueueStatus(UsbHandle handle, std::uint32_t& bytesInQueue,
                           std::uint32_t& queueStatus) override;
  std::int32_t Read(UsbHandle handle, std::uint8_t* buffer, std::uint32_t bytesToRead,
                    std::uint32_t& bytesRead) override;

  // The library is loaded with all six functions (after a probe tried to load it).
  bool LibraryLoaded() const { return exports_.has_value(); }

 private:
  struct Exports {
    siusbxp::ProbeFn probe;
    siusbxp::OpenFn open;
    siusbxp::CloseFn close;
    siusbxp::SetLinkRateFn setLinkRate;
    siusbxp::QueueStatusFn queueStatus;
    siusbxp::ReadFn read;
  };

  void TryLoad();

  std::string libraryPath_;
  UniqueModule module_;
  std::optional<Exports> exports_;
};

}  // namespace raz::win32
