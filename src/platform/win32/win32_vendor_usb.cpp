#include "platform/win32/win32_vendor_usb.h"

#include "platform/win32/utf.h"

namespace raz::win32 {
namespace {

// What every call answers while the library is missing: any non-zero status means failure.
constexpr std::int32_t kNoLibrary = -1;

template <typename Fn>
Fn Ordinal(HMODULE module, int ordinal) {
  const FARPROC proc = ::GetProcAddress(module, MAKEINTRESOURCEA(ordinal));
  // Through the generic function type, which the compiler accepts as a cast source.
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(proc));
}

siusbxp::Handle ToLibraryHandle(UsbHandle handle) {
  return reinterpret_cast<siusbxp::Handle>(handle);
}

}  // namespace

Win32VendorUsb::Win32VendorUsb(std::string libraryPath) : libraryPath_(std::move(libraryPath)) {}

void Win32VendorUsb::TryLoad() {
  // The altered search path makes the library's own dependencies resolve from its folder
  // too; the library itself comes only from the full path.
  UniqueModule module(
      ::LoadLibraryExW(Widen(libraryPath_).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  if (!module) return;
  const HMODULE h = module.Get();
  const Exports exports{
      Ordinal<siusbxp::ProbeFn>(h, siusbxp::kOrdinalProbe),
      Ordinal<siusbxp::OpenFn>(h, siusbxp::kOrdinalOpen),
      Ordinal<siusbxp::CloseFn>(h, siusbxp::kOrdinalClose),
      Ordinal<siusbxp::SetLinkRateFn>(h, siusbxp::kOrdinalSetLinkRate),
      Ordinal<siusbxp::QueueStatusFn>(h, siusbxp::kOrdinalQueueStatus),
      Ordinal<siusbxp::ReadFn>(h, siusbxp::kOrdinalRead),
  };
  if (!exports.probe || !exports.open || !exports.close || !exports.setLinkRate ||
      !exports.queueStatus || !exports.read) {
    return;  // not the library we expect; unloaded here, tried again at the next probe
  }
  module_ = std::move(module);
  exports_ = exports;
}

std::int32_t Win32VendorUsb::ProbeDevices(std::uint32_t& deviceCount) {
  if (!exports_) TryLoad();
  if (!exports_) {
    deviceCount = 0;
    return kNoLibrary;
  }
  return exports_->probe(&deviceCount);
}

std::int32_t Win32VendorUsb::OpenDevice(std::uint32_t deviceIndex, UsbHandle& handle) {
  if (!exports_) return kNoLibrary;
  siusbxp::Handle opened = ToLibraryHandle(handle);
  const std::int32_t status = exports_->open(deviceIndex, &opened);
  handle = reinterpret_cast<UsbHandle>(opened);
  return status;
}

std::int32_t Win32VendorUsb::CloseDevice(UsbHandle handle) {
  if (!exports_) return kNoLibrary;
  return exports_->close(ToLibraryHandle(handle));
}

std::int32_t Win32VendorUsb::SetLinkRate(UsbHandle handle, std::uint32_t bitsPerSecond) {
  if (!exports_) return kNoLibrary;
  return exports_->setLinkRate(ToLibraryHandle(handle), bitsPerSecond);
}

std::int32_t Win32VendorUsb::QueueStatus(UsbHandle handle, std::uint32_t& bytesInQueue,
                                         std::uint32_t& queueStatus) {
  if (!exports_) {
    bytesInQueue = 0;
    return kNoLibrary;
  }
  return exports_->queueStatus(ToLibraryHandle(handle), &bytesInQueue, &queueStatus);
}

std::int32_t Win32VendorUsb::Read(UsbHandle handle, std::uint8_t* buffer,
                                  std::uint32_t bytesToRead, std::uint32_t& bytesRead) {
  if (!exports_) {
    bytesRead = 0;
    return kNoLibrary;
  }
  return exports_->read(ToLibraryHandle(handle), buffer, bytesToRead, &bytesRead, nullptr);
}

}  // namespace raz::win32
