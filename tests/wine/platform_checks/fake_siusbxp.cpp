// A checking stand-in for the vendor library, exported by ordinal only: every call answers 7
// unless Win32VendorUsb passed the arguments the checks gave it.
#include <cstdint>

#include "platform/win32/siusbxp_abi.h"

using raz::siusbxp::Handle;
using raz::siusbxp::Status;

namespace {

constexpr std::uintptr_t kHandle = 0x1234;  // made up by the library at open

Status OkIf(bool right) { return right ? 0 : 7; }
bool IsOurs(Handle handle) { return reinterpret_cast<std::uintptr_t>(handle) == kHandle; }

}  // namespace

extern "C" {

Status RAZ_STDCALL FakeProbe(std::uint32_t* count) {
  *count = 1;
  return 0;
}

Status RAZ_STDCALL FakeOpen(std::uint32_t index, Handle* handle) {
  *handle = reinterpret_cast<Handle>(kHandle);
  return OkIf(index == 0);
}

Status RAZ_STDCALL FakeClose(Handle handle) { return OkIf(IsOurs(handle)); }

Status RAZ_STDCALL FakeSetLinkRate(Handle handle, std::uint32_t rate) {
  return OkIf(IsOurs(handle) && rate == 460800);
}

Status RAZ_STDCALL FakeQueueStatus(Handle handle, std::uint32_t* bytes, std::uint32_t* status) {
  *bytes = 45;
  *status = 0;
  return OkIf(IsOurs(handle));
}

Status RAZ_STDCALL FakeRead(Handle handle, void* buffer, std::uint32_t wanted, std::uint32_t* got,
                            void* overlapped) {
  auto* bytes = static_cast<std::uint8_t*>(buffer);
  for (std::uint32_t i = 0; i < wanted; ++i) bytes[i] = static_cast<std::uint8_t>(0xA0 + i);
  *got = wanted;
  return OkIf(IsOurs(handle) && overlapped == nullptr);
}

}  // extern "C"
