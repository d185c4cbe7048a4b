#pragma once
// State of the board input: the link to the board, the report decoder and the position
// interpolation. Every field lives as long as the program; a fresh value is the start-up state.
#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/vendor_usb.h"

namespace raz {

// Status of the current pen sample.
namespace PenStatusCode {
inline constexpr std::int32_t NoPen = 0x00;
inline constexpr std::int32_t Hover = 0x55;
inline constexpr std::int32_t RightButton = 0x5F;
inline constexpr std::int32_t Touch = 0xAA;
}  // namespace PenStatusCode

struct BoardLinkState {
  UsbHandle BoardLink = 0;
  std::int32_t LinkOpenPending = 1;
  std::int32_t BoardPresent = 0;
  std::int32_t ReportFraming = 0;  // 0: plain 45-byte reports, 1: 47-byte frames
  std::int32_t BoardModel = 0;     // 0 KX, 1 RU82, 2 VI100; stored and shown only
};

// The one current sample, overwritten by each decode.
struct PenSample {
  std::int32_t PenStatus = PenStatusCode::NoPen;
  std::int32_t X = 0;
  std::int32_t Y = 0;
  std::int32_t LevelX = 0;
  std::int32_t LevelY = 0;
  std::int32_t SampleRejected = 0;
  std::int32_t DoublePeakX = 0;
  std::int32_t DoublePeakY = 0;
  std::int32_t FrameComplete = 0;
  std::uint8_t DataReceived = 1;  // the tray shows the board with the pen until the first poll
};

// Decoder result for one axis: four consecutive half-cell positions and their levels.
struct AxisFix {
  std::int32_t P1 = 0, P2 = 0, P3 = 0, P4 = 0;
  std::int32_t A1 = 0, A2 = 0, A3 = 0, A4 = 0;
  std::int32_t Spread = 0;
};

inline constexpr std::size_t kReceiveBufferSize = 50004;
inline constexpr std::size_t kReportStoreSlots = 47;
inline constexpr int kSensorsPerAxis = 21;

using ReceiveBytes = std::array<std::uint8_t, kReceiveBufferSize>;
// One received byte (0..255) per slot; slot k holds byte k of a frame, byte k-1 of a report.
using ReportSlots = std::array<std::int32_t, kReportStoreSlots>;

// A frame being collected across reads.
struct FrameSync {
  bool Syncing = false;
  std::size_t StoreIndex = 0;
};

// Working values of one sensor row, kept between ticks.
struct AxisWork {
  std::array<std::int32_t, kSensorsPerAxis + 1> Levels{};  // by sensor number; [0] stays 0
  std::array<std::int32_t, kSensorsPerAxis> SortedLevels{};
  std::array<std::int32_t, kSensorsPerAxis> SortedSensors{};
  std::array<std::int32_t, 5> Top{};  // T1..T5, strongest first
  std::int32_t Anchor = 0;
  std::int32_t Block = 0;
  std::int32_t Cell = 0;  // G
};

struct DecoderState {
  ReceiveBytes ReceiveBuffer{};
  ReportSlots ReportStore{};
  FrameSync Sync;
  AxisWork X;
  AxisWork Y;
  AxisFix FixX;
  AxisFix FixY;
  std::uint8_t RateMeasurement = 0;
};

struct InterpolationState {
  std::array<std::int32_t, 4> InterpolationSpan{110, 110, 110, 110};
  std::int32_t SpanTracking = 1;
  float CellSizeX = 10.0f;
  float CellSizeY = 10.0f;
  std::int32_t HoverSpanX = 100;
  std::int32_t HoverSpanY = 100;
  std::int32_t RawBoardX = 0;
  std::int32_t RawBoardY = 0;
  std::uint8_t InKeyMargin = 0;
  std::array<std::int32_t, 3> KeyZoneHit{};  // zones 1..3 at indices 0..2
  float CalibrationSampleX = 0.0f;
  float CalibrationSampleY = 0.0f;
};

}  // namespace raz
