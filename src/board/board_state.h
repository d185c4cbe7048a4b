#pragma once
// State of the board input: the link, the report reader, the decoder and the position
// interpolation. Every field lives as long as the program; a fresh value is the start-up state.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "base/pen_status.h"
#include "platform/vendor_usb.h"

namespace raz {

// The pen-code bands of the report decoder (settings Pen and PenRight).
struct PenSettings {
  std::int32_t PenTouchLimit = 0;
  std::int32_t PenRightCentre = 0;
};

// Report framings a board may use (server111.txt stores the number): plain 45-byte reports, or
// 47-byte frames between a start and an end byte.
enum class ReportFraming : std::int32_t { Plain = 0, Framed = 1 };

// The framing a stored number names, or nothing for a number that names none.
constexpr std::optional<ReportFraming> FramingFromStored(std::int32_t stored) {
  if (stored != 0 && stored != 1) return std::nullopt;
  return static_cast<ReportFraming>(stored);
}

constexpr std::int32_t StoredNumber(ReportFraming framing) {
  return static_cast<std::int32_t>(framing);
}

struct LinkState {
  UsbHandle BoardLink = 0;
  bool LinkOpen = false;  // BoardLink holds a handle that has not been closed
  bool LinkOpenPending = true;
  bool BoardPresent = false;
  raz::ReportFraming ReportFraming = raz::ReportFraming::Plain;
  // The stored number of the model (BoardModelFromStored), shown only. It is kept as read: a
  // number that names no model is stored again as it was.
  std::int32_t BoardModel = 0;
};

inline constexpr std::size_t kReceiveBufferSize = 50004;
inline constexpr std::size_t kReportStoreSlots = 47;
inline constexpr int kSensorsPerAxis = 21;

using ReceiveBytes = std::array<std::uint8_t, kReceiveBufferSize>;
// One received byte (0..255) per slot; slot k holds byte k of a frame, byte k-1 of a report.
using ReportSlots = std::array<std::int32_t, kReportStoreSlots>;

// Bytes of a framed stream kept from one read for the next: the start of a frame whose tail
// has not arrived yet, never a whole frame.
struct FrameCarry {
  std::array<std::uint8_t, kReportStoreSlots - 1> Bytes{};
  std::size_t Length = 0;
};

// The bytes of the board and the one report kept of them.
struct ReaderState {
  ReceiveBytes ReceiveBuffer{};
  ReportSlots ReportStore{};
  FrameCarry Carry;
  bool FrameComplete = false;  // framed: the last read that delivered data stored a whole frame
  bool DataReceived = true;    // the tray shows the board with the pen until the first poll
  std::uint64_t LastReportMicros = 0;  // when the last new report arrived
};

// Decoder result for one axis: four consecutive half-cell positions and their levels.
struct AxisFix {
  std::int32_t P1 = 0, P2 = 0, P3 = 0, P4 = 0;
  std::int32_t A1 = 0, A2 = 0, A3 = 0, A4 = 0;
  std::int32_t Spread = 0;
};

// What the decoder knows of the newest report. A report whose X row is empty leaves all but
// the status as the previous report left them.
struct BoardReading {
  PenStatus Status = PenStatus::NoPen;
  std::int32_t LevelX = 0;
  std::int32_t LevelY = 0;  // also judges the next report's status
  bool SampleRejected = false;
  bool DoublePeakX = false;
  bool DoublePeakY = false;
  AxisFix FixX;
  AxisFix FixY;
};

// Working values of one sensor row, kept between ticks.
struct AxisWork {
  std::array<std::int32_t, kSensorsPerAxis + 1> Levels{};  // by sensor number; [0] stays 0
  std::array<std::int32_t, 5> Top{};  // T1..T5, strongest first
  std::int32_t Anchor = 0;
  std::int32_t Block = 0;
  std::int32_t Cell = 0;  // G
};

struct DecoderState {
  AxisWork X;
  AxisWork Y;
  BoardReading Reading;
};

// A learned span starts here at every start-up.
inline constexpr std::int32_t kInitialSpan = 110;

struct InterpolationState {
  std::array<std::int32_t, 4> InterpolationSpan{kInitialSpan, kInitialSpan, kInitialSpan,
                                                kInitialSpan};
  bool SpanTracking = true;
  float CellSizeX = 10.0f;
  float CellSizeY = 10.0f;
  // The unrounded position the calibrations take. A hover while calibrating keeps X.
  float CalibrationSampleX = 0.0f;
  float CalibrationSampleY = 0.0f;
};

// Where a touch lies on the key row: its raw Y and the zones (1..3 at indices 0..2) it is in.
struct KeyZones {
  std::int32_t RawBoardY = 0;
  std::array<bool, 3> KeyZoneHit{};
};

// Where the newest sample lies against the margin keys: a report that finds the pen anew
// changes what it found, and the rest stands.
struct KeyPlace {
  bool InKeyMargin = false;
  KeyZones Zones;
};

}  // namespace raz
