#pragma once
// The four binary data files of the program folder. Despite the ".txt" names they hold raw
// little-endian values: the stored screen calibration and three 32-bit flags.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/points.h"
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

// Grid indices: bottom row 0 1 2, middle row 3 4 5, top row 6 7 8, left to right.
inline constexpr int kCalibrationPointCount = 9;

// The stored screen calibration, as server.txt holds it.
struct CalibrationRecord {
  std::array<PointF, kCalibrationPointCount> CalibrationPoints{};
  float CalibrationScaleX = 0.0f;
  float CalibrationScaleY = 0.0f;
  std::int32_t ScreenOffsetX = 0;
  std::int32_t ScreenOffsetY = 0;
  // Not used by any computation: carried from the installed file into every later save.
  std::int32_t ReservedWord = 0;
  std::int32_t ReservedLevel = 0;
};

// Byte layout of server.txt.
namespace CalibrationRecordLayout {
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
}  // namespace CalibrationRecordLayout

using InterpolationSpans = std::array<std::int32_t, 4>;

std::vector<std::uint8_t> EncodeCalibrationRecord(const CalibrationRecord& record,
                                                  const InterpolationSpans& spans);
// A field the bytes do not cover completely reads as 0.
CalibrationRecord DecodeCalibrationRecord(std::span<const std::uint8_t> bytes);

std::string ProgramFile(const Files& files, const std::string& name);

CalibrationRecord LoadCalibration(Files& files);
// A data file refused a write that must not go unnoticed (the calibration). Its message is the
// one a refused settings write shows.
class DataFileWriteError : public std::runtime_error {
 public:
  explicit DataFileWriteError(const std::string& path)
      : std::runtime_error("Unable to write to " + path) {}
};

// A missing file is created at its full size, so a calibration is never silently dropped.
bool SaveCalibration(Files& files, const CalibrationRecord& record, const InterpolationSpans& spans);

// nullopt when the file is missing or shorter than four bytes.
std::optional<std::int32_t> LoadFlag(Files& files, const char* fileName);
bool SaveFlag(Files& files, const char* fileName, std::int32_t value);

}  // namespace raz
