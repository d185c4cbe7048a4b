#pragma once
// Getting one report out of the board's byte stream: fetch what is queued, then keep the
// first report (plain) or the first whole frame (framed) in the report store.
#include <cstddef>
#include <cstdint>
#include <span>

#include "board/board_state.h"
#include "platform/vendor_usb.h"

namespace raz {

inline constexpr std::int32_t kFrameStart = 0xFD;
inline constexpr std::int32_t kFrameTrailer = 0x51;
inline constexpr std::int32_t kFrameEnd = 0xFE;
inline constexpr std::size_t kTrailerSlot = 45;
inline constexpr std::size_t kEndSlot = 46;

// Reads everything queued, at most one buffer full; the rest waits for the next tick. A
// failed call counts as nothing received. Returns the number of bytes received.
std::size_t FetchReports(VendorUsb& usb, UsbHandle link, ReceiveBytes& buffer);

// Received byte k goes to slot k+1: a short batch overwrites only the slots it reaches.
void StorePlainReport(std::span<const std::uint8_t> received, ReportSlots& store);

// Scans the first `received` bytes of the buffer for a frame and collects it into the store.
// Returns true when a whole frame was stored by this call. A frame still open at the end of
// the batch continues with the next call's bytes.
bool StoreFramedReport(const ReceiveBytes& buffer, std::size_t received, FrameSync& sync,
                       ReportSlots& store);

// One read of the board: everything queued is fetched and one report of it kept in the store,
// by the board's framing. A read that brings nothing keeps the previous report. Returns the
// number of bytes received.
std::size_t ReadReports(VendorUsb& usb, UsbHandle link, std::int32_t framing, ReaderState& reader);

// Framed reports count only as whole frames with their start and end bytes in place.
bool WholeFrameStored(const ReaderState& reader);

}  // namespace raz
