// A recording stand-in for the vendor library, exported by ordinal only, so the checks can
// see exactly what Win32VendorUsb passes through each ordinal.
#include <cstdint>
#include <cstring>

#include "platform/win32/siusbxp_abi.h"

using raz::siusbxp::Handle;
using raz::siusbxp::Status;

namespace {

// Values the checks recognise: a handle the library made up and the status of a wrong call.
constexpr std::uintptr_t kHandle = 0x1234;
constexpr Status kWrongArgument = 7;

bool IsOurs(Handle handle) { return reinterpret_cast<std::uintptr_t>(handle) == kHandle; }

}  // namespace

extern "C" {

Status RAZ_STDCALL FakeProbe(std::uint32_t* count) {
  *count = 1;
  return 0;
}

Status RAZ_STDCALL FakeOpen(std::uint32_t index, Handle* handle) {
  if (index != 0) return kWrongArgument;
  *handle = reinterpret_cast<Handle>(kHandle);
  return 0;
}

Status RAZ_STDCALL FakeClose(Handle handle) { return IsOurs(handle) ? 0 : kWrongArgument; }

Status RAZ_STDCALL FakeSetLinkRate(Handle handle, std::uint32_t rate) {
  return IsOurs(handle) && rate == 460800 ? 0 : kWrongArgument;
}

Status RAZ_STDCALL FakeQueueStatus(Handle handle, std::uint32_t* bytes, std::uint32_t* status) {
  *bytes = 45;
  *status = 0;
  return IsOurs(handle) ? 0 : kWrongArgument;
}

Status RAZ_STDCALL FakeRead(Handle handle, void* buffer, std::uint32_t wanted,
                            std::uint32_t* got, void* overlapped) {
  if (!IsOurs(handle) || overlapped != nullptr) return kWrongArgument;
  auto* bytes = static_cast<std::uint8_t*>(buffer);
  for (std::uint32_t i = 0; i < wanted; ++i) bytes[i] = static_cast<std::uint8_t>(0xA0 + i);
  *got = wanted;
  return 0;
}

}  // extern "C"
