#pragma once
// The bytes of one board report: a plain 45-byte report at 460800 bit/s, or the same report
// framed as 47 bytes at 115200 bit/s, where a lost byte must not shift every later report.
#include <array>
#include <cstddef>
#include <cstdint>

#include "sim/pen_code.h"

namespace raz::sim {

inline constexpr int kSensorsPerRow = 21;
inline constexpr std::size_t kPlainReportSize = 45;
inline constexpr std::size_t kFrameSize = 47;
inline constexpr std::uint8_t kFrameStart = 0xFD;
inline constexpr std::uint8_t kReportTail = 0x51;  // last byte of every report
inline constexpr std::uint8_t kFrameEnd = 0xFE;

// Levels of sensors 1..21 at indices 0..20.
using SensorRow = std::array<std::uint8_t, kSensorsPerRow>;
using PlainReport = std::array<std::uint8_t, kPlainReportSize>;
using ReportFrame = std::array<std::uint8_t, kFrameSize>;

// Status, pen code, the X row, the Y row, the tail byte.
PlainReport BuildPlainReport(StatusBytes status, const SensorRow& x, const SensorRow& y);

// Frame start, the report, frame end.
ReportFrame FrameReport(const PlainReport& report);

}  // namespace raz::sim
