#pragma once
// Getting one report out of the board's byte stream: fetch what is queued, then keep the
// first report (plain) or the first whole frame (framed) in the report store.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "board/board_state.h"
#include "platform/vendor_usb.h"

namespace raz {

inline constexpr std::int32_t kFrameStart = 0xFD;
inline constexpr std::int32_t kFrameTrailer = 0x51;
inline constexpr std::int32_t kFrameEnd = 0xFE;
inline constexpr std::size_t kTrailerSlot = 45;
inline constexpr std::size_t kEndSlot = 46;
inline constexpr std::size_t kPlainReportBytes = 45;
inline constexpr std::size_t kRowYFirstSlot = 24;

// Reads everything queued, at most one buffer full; the rest waits for the next tick. Returns
// the number of bytes the library says it read, or nothing when a call failed.
std::optional<std::size_t> FetchReports(VendorUsb& usb, UsbHandle link, ReceiveBytes& buffer);

// Received byte k goes to slot k+1: a short batch overwrites only the slots it reaches.
void StorePlainReport(std::span<const std::uint8_t> received, ReportSlots& store);

// The framed byte stream: the bytes of this read follow those kept from earlier reads. The
// first frame whose start, trailer and end bytes have all arrived goes to the store; the bytes
// of a frame whose tail has not arrived yet are kept for the next read. Returns true when a
// whole frame was stored.
bool StoreFramedReport(std::span<const std::uint8_t> received, FrameCarry& carry,
                       ReportSlots& store);

// Called with each report in the store: its index in the read, and how many reports the read
// holds (for framed reads an estimate from the byte count, never below index + 1).
using ReportTaker = std::function<void(std::size_t index, std::size_t count)>;

// Every report of a read in turn, each stored and then handed on: the plain reports one after
// another from the read's start (a read shorter than one report is stored as far as it goes,
// as ever), or every whole frame of the framed stream. Returns how many.
std::size_t StoreEveryReport(std::span<const std::uint8_t> received, ReportFraming framing,
                             ReaderState& reader, const ReportTaker& take);

// Whether a report shows a pen (touch, hover or right button) by its own Y signal, without
// decoding it or touching the decoder's state.
bool ReportShowsPen(const ReportSlots& store, const PenSettings& pen);
// The same for any whole report of a plain read.
bool PlainReadShowsPen(std::span<const std::uint8_t> received, const PenSettings& pen);

struct ReadResult {
  std::size_t Received = 0;
  bool LinkFailed = false;  // a queue-status or read call failed: the link is lost
  bool NewReport = false;   // this read stored a report (plain) or a whole frame (framed)
};

// One read of the board, the report kept by the board's framing. A read that brings nothing
// keeps the previous report.
ReadResult ReadReports(VendorUsb& usb, UsbHandle link, ReportFraming framing, ReaderState& reader);

// The same read, every report of it handed on in turn (StoreEveryReport).
ReadResult ReadEveryReport(VendorUsb& usb, UsbHandle link, ReportFraming framing,
                           ReaderState& reader, const ReportTaker& take);

// Framed reports count only as whole frames with their start and end bytes in place.
bool WholeFrameStored(const ReaderState& reader);

}  // namespace raz
