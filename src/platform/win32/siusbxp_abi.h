#pragma once
// The vendor library's exports, by ordinal. Every function uses the standard Windows calling
// convention and returns a status, 0 meaning success. Handles are pointer-sized.
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define RAZ_STDCALL __attribute__((stdcall))
#else
#define RAZ_STDCALL
#endif

namespace raz::siusbxp {

using Handle = void*;
using Status = std::int32_t;

inline constexpr int kOrdinalProbe = 1;
inline constexpr int kOrdinalOpen = 3;
inline constexpr int kOrdinalClose = 4;
inline constexpr int kOrdinalRead = 6;
inline constexpr int kOrdinalQueueStatus = 12;
inline constexpr int kOrdinalSetLinkRate = 13;

using ProbeFn = Status(RAZ_STDCALL*)(std::uint32_t* deviceCount);
using OpenFn = Status(RAZ_STDCALL*)(std::uint32_t deviceIndex, Handle* handle);
using CloseFn = Status(RAZ_STDCALL*)(Handle handle);
using SetLinkRateFn = Status(RAZ_STDCALL*)(Handle handle, std::uint32_t bitsPerSecond);
using QueueStatusFn = Status(RAZ_STDCALL*)(Handle handle, std::uint32_t* bytesInQueue,
                                           std::uint32_t* queueStatus);
// The last argument is an optional overlapped-I/O record; the driver always passes null.
using ReadFn = Status(RAZ_STDCALL*)(Handle handle, void* buffer, std::uint32_t bytesToRead,
                                    std::uint32_t* bytesRead, void* overlapped);

}  // namespace raz::siusbxp
