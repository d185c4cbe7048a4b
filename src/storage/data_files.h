#pragma once
// The four binary data files of the program folder. Despite the ".txt" names they hold raw
// little-endian values: the stored screen calibration and three 32-bit flags.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "calibration/calibration_state.h"
#include "platform/files.h"

namespace raz {

inline constexpr char kCalibrationFileName[] = "server.txt";
inline constexpr char kAutostartFileName[] = "server11.txt";
inline constexpr char kFramingFileName[] = "server111.txt";
inline constexpr char kBoardModelFileName[] = "server1111.txt";

// Left-over shortcuts the program deletes and never creates.
inline constexpr char kShortcutName[] = "RA_Zazide.lnk";
inline constexpr char kStaleStartupShortcut[] = "\\Stratup\\RA_Zazide.lnk";
inline constexpr char kStartupShortcut[] = "\\启动\\RA_Zazide.lnk";

// Byte layout of server.txt.
namespace CalibrationRecord {
inline constexpr std::size_t kSize = 3472;
inline constexpr std::size_t kPointsX = 0;
inline constexpr std::size_t kPointsY = 36;
inline constexpr std::size_t kReservedWord = 72;
inline constexpr std::size_t kReservedLevel = 76;
inline constexpr std::size_t kScaleX = 80;
inline constexpr std::size_t kScaleY = 84;
inline constexpr std::size_t kSpans = 88;
inline constexpr std::size_t kScreenOffsetX = 3464;
inline constexpr std::size_t kScreenOffsetY = 3468;
}  // namespace CalibrationRecord

using InterpolationSpans = std::array<std::int32_t, 4>;

std::vector<std::uint8_t> EncodeCalibrationRecord(const StoredCalibration& calibration,
                                                  const InterpolationSpans& spans);
// A field the bytes do not cover completely reads as 0.
StoredCalibration DecodeCalibrationRecord(std::span<const std::uint8_t> bytes);

std::string ProgramFile(const Files& files, const std::string& name);

StoredCalibration LoadCalibration(Files& files);
// A missing file is created at its full size, so a calibration is never silently dropped.
bool SaveCalibration(Files& files, const StoredCalibration& calibration,
                     const InterpolationSpans& spans);

// nullopt when the file is missing or shorter than four bytes.
std::optional<std::int32_t> LoadFlag(Files& files, const char* fileName);
bool SaveFlag(Files& files, const char* fileName, std::int32_t value);

}  // namespace raz
