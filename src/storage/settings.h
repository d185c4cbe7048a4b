#pragma once
// The settings file VaziZod.ini: its keys, their defaults, and the value conversions of the
// system's profile functions.
#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/profile.h"

namespace raz {

inline constexpr char kSettingsFileName[] = "VaziZod.ini";

namespace Section {
inline constexpr char Parameters[] = "PARAMETERS";
inline constexpr char VKeyCali[] = "VKeyCali";
inline constexpr char Language[] = "language";
}  // namespace Section

// Every key of the settings file, named once. Installed files and support scripts rely on
// these spellings; the system matches them without regard to case.
namespace Key {
// PARAMETERS
inline constexpr char APPClassName[] = "APPClassName";
inline constexpr char APPCaption[] = "APPCaption";
inline constexpr char ScanPeriod5[] = "ScanPeriod_5";  // read and ignored, as are the next two
inline constexpr char SmoothPeriod8_10[] = "SmoothPeriod8_10";
inline constexpr char SmoothPeriod4_25[] = "SmoothPeriod4_25";
inline constexpr char Pen[] = "Pen";
inline constexpr char PenRight[] = "PenRight";
inline constexpr char VKey[] = "vkey";
// The monitor the board's picture is on, by the system's device name; absent: the primary.
inline constexpr char BoardMonitor[] = "BoardMonitor";
// The screen size the calibration in server.txt was made at.
inline constexpr char CalibrationWidth[] = "CalibrationWidth";
inline constexpr char CalibrationHeight[] = "CalibrationHeight";
inline constexpr char Mapping[] = "Mapping";  // 1: keystone-exact; absent or 0: the sector transform
inline constexpr char PenResponse[] = "PenResponse";  // 1: responsive pen; absent or 0: classic
// VKeyCali
inline constexpr char LeftTopX[] = "VKeyPoint_L_TopX";
inline constexpr char LeftTopY[] = "VKeyPoint_L_TopY";
inline constexpr char LeftBottomX[] = "VKeyPoint_L_BottomX";
inline constexpr char LeftBottomY[] = "VKeyPoint_L_BottomY";
inline constexpr char RightMiddleX[] = "VKeyPoint_R_middleX";
inline constexpr char RightMiddleY[] = "VKeyPoint_R_middleY";
// language. SELECT and Select are one entry to the system: the dialog's model-group caption
// is read from the language number's key.
inline constexpr char Select[] = "Select";
inline constexpr char DialogSelect[] = "SELECT";
inline constexpr char DialogOk[] = "OK";
inline constexpr char DialogCancel[] = "CANCEL";
}  // namespace Key

// The profile functions read into a 2048-character buffer: at most 2047 characters survive,
// whole characters, however many bytes each takes.
inline constexpr std::size_t kMaxSettingsString = 2047;

// A write the system refused. The host shows its message and goes on.
class SettingsWriteError : public std::runtime_error {
 public:
  explicit SettingsWriteError(const std::string& path);
};

// Integer text as the profile functions convert it: "0x"/"0X" followed by at least one more
// character is hexadecimal, anything else decimal; text that is not a whole number is nullopt.
std::optional<std::int32_t> ParseProfileInteger(std::string_view text);

// One burst of reads or writes on the settings file at a fixed path.
class SettingsFile {
 public:
  SettingsFile(Profile& profile, std::string path);
  const std::string& Path() const { return path_; }
  std::string ReadString(const char* section, const char* key, const std::string& fallback = "");
  std::int32_t ReadInteger(const char* section, const char* key, std::int32_t fallback);
  // Throws SettingsWriteError when the system refuses the write.
  void WriteInteger(const char* section, const char* key, std::int32_t value);
  void WriteString(const char* section, const char* key, const std::string& value);

 private:
  Profile& profile_;
  std::string path_;
};

}  // namespace raz
