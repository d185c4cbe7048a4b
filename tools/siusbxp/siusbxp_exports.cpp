// The stand-in SIUSBXP.DLL: the six functions the driver imports, exported by ordinal only
// (see siusbxp.def.in), each a thin shim over the simulated board.
#include <windows.h>

#include <cstdint>
#include <type_traits>

#include "platform/win32/siusbxp_abi.h"
#include "sim/sim_board.h"
#include "stand_in_board.h"

namespace {

using raz::UsbHandle;
using raz::sim::SimBoard;
using raz::sim::SimStatus::InvalidParameter;
using raz::siusbxp::Handle;
using raz::siusbxp::StandInBoard;
using raz::siusbxp::Status;

// Exported C functions carry no context, so the library keeps its one board here, created
// when the process loads the library and destroyed when it unloads it.
StandInBoard* theBoard = nullptr;

UsbHandle FromAbi(Handle handle) { return reinterpret_cast<UsbHandle>(handle); }
Handle ToAbi(UsbHandle handle) { return reinterpret_cast<Handle>(handle); }

}  // namespace

extern "C" {

Status RAZ_STDCALL RazProbeDevices(std::uint32_t* deviceCount) {
  if (deviceCount == nullptr) return InvalidParameter;
  return theBoard->With([&](SimBoard& board) { return board.ProbeDevices(*deviceCount); });
}

Status RAZ_STDCALL RazOpenDevice(std::uint32_t deviceIndex, Handle* handle) {
  if (handle == nullptr) return InvalidParameter;
  UsbHandle opened = 0;
  const Status status = theBoard->Open(deviceIndex, opened);
  if (status == raz::sim::SimStatus::Success) *handle = ToAbi(opened);
  return status;
}

Status RAZ_STDCALL RazCloseDevice(Handle handle) {
  return theBoard->With([&](SimBoard& board) { return board.CloseDevice(FromAbi(handle)); });
}

Status RAZ_STDCALL RazSetLinkRate(Handle handle, std::uint32_t bitsPerSecond) {
  return theBoard->With(
      [&](SimBoard& board) { return board.SetLinkRate(FromAbi(handle), bitsPerSecond); });
}

Status RAZ_STDCALL RazQueueStatus(Handle handle, std::uint32_t* bytesInQueue,
                                  std::uint32_t* queueStatus) {
  if (bytesInQueue == nullptr || queueStatus == nullptr) return InvalidParameter;
  return theBoard->With([&](SimBoard& board) {
    theBoard->StampPoll();
    return board.QueueStatus(FromAbi(handle), *bytesInQueue, *queueStatus);
  });
}

// Reads never wait: the caller asks for what the queue status reported, which is there.
Status RAZ_STDCALL RazRead(Handle handle, void* buffer, std::uint32_t bytesToRead,
                           std::uint32_t* bytesRead, void* overlapped) {
  if (bytesRead == nullptr || overlapped != nullptr) return InvalidParameter;
  return theBoard->With([&](SimBoard& board) {
    return board.Read(FromAbi(handle), static_cast<std::uint8_t*>(buffer), bytesToRead, *bytesRead);
  });
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    ::DisableThreadLibraryCalls(instance);
    theBoard = new StandInBoard(instance);
  } else if (reason == DLL_PROCESS_DETACH) {
    // At process exit (reserved set) the memory goes with the process; the stamps are written.
    if (reserved != nullptr) {
      theBoard->FlushStamps();
    } else {
      delete theBoard;
      theBoard = nullptr;
    }
  }
  return TRUE;
}

}  // extern "C"

// The exports must match the driver's function types exactly, calling convention included.
static_assert(std::is_same_v<decltype(&RazProbeDevices), raz::siusbxp::ProbeFn>);
static_assert(std::is_same_v<decltype(&RazOpenDevice), raz::siusbxp::OpenFn>);
static_assert(std::is_same_v<decltype(&RazCloseDevice), raz::siusbxp::CloseFn>);
static_assert(std::is_same_v<decltype(&RazSetLinkRate), raz::siusbxp::SetLinkRateFn>);
static_assert(std::is_same_v<decltype(&RazQueueStatus), raz::siusbxp::QueueStatusFn>);
static_assert(std::is_same_v<decltype(&RazRead), raz::siusbxp::ReadFn>);
