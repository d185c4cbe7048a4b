#pragma once
// The board's vendor USB library. Every call returns a status, 0 meaning success.
#include <cstdint>

namespace raz {

using UsbHandle = std::uintptr_t;

class VendorUsb {
 public:
  virtual ~VendorUsb() = default;
  virtual std::int32_t ProbeDevices(std::uint32_t& deviceCount) = 0;
  virtual std::int32_t OpenDevice(std::uint32_t deviceIndex, UsbHandle& handle) = 0;
  virtual std::int32_t CloseDevice(UsbHandle handle) = 0;
  virtual std::int32_t SetLinkRate(UsbHandle handle, std::uint32_t bitsPerSecond) = 0;
  virtual std::int32_t QueueStatus(UsbHandle handle, std::uint32_t& bytesInQueue,
                                   std::uint32_t& queueStatus) = 0;
  virtual std::int32_t Read(UsbHandle handle, std::uint8_t* buffer, std::uint32_t bytesToRead,
                            std::uint32_t& bytesRead) = 0;
};

}  // namespace raz
