#pragma once
// Report bytes as the board sends them, for feeding the decoder.
#include <array>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

namespace raz::test {

using SensorRow = std::array<std::uint8_t, 21>;  // sensors 1..21

// A row with the given (sensor, level) pairs and every other sensor at `rest`.
inline SensorRow Row(std::initializer_list<std::pair<int, int>> levels, int rest = 0) {
  SensorRow row;
  row.fill(static_cast<std::uint8_t>(rest));
  for (const auto& [sensor, level] : levels) row[sensor - 1] = static_cast<std::uint8_t>(level);
  return row;
}

inline constexpr std::uint8_t kTypeTwoStatus = 0x02;
inline constexpr std::uint8_t kTypeOneStatus = 0x01;

// The 45 bytes of a plain report.
inline std::vector<std::uint8_t> PlainReport(std::uint8_t status, std::uint8_t penCode,
                                             const SensorRow& x, const SensorRow& y,
                                             std::uint8_t last = 0x51) {
  std::vector<std::uint8_t> bytes{status, penCode};
  bytes.insert(bytes.end(), x.begin(), x.end());
  bytes.insert(bytes.end(), y.begin(), y.end());
  bytes.push_back(last);
  return bytes;
}

// The 47 bytes of a frame: start, the plain report, end.
inline std::vector<std::uint8_t> Frame(std::uint8_t status, std::uint8_t penCode,
                                       const SensorRow& x, const SensorRow& y) {
  std::vector<std::uint8_t> bytes{0xFD};
  const auto report = PlainReport(status, penCode, x, y, 0x51);
  bytes.insert(bytes.end(), report.begin(), report.end());
  bytes.push_back(0xFE);
  return bytes;
}

inline std::vector<std::uint8_t> Concat(std::initializer_list<std::vector<std::uint8_t>> parts) {
  std::vector<std::uint8_t> bytes;
  for (const auto& part : parts) bytes.insert(bytes.end(), part.begin(), part.end());
  return bytes;
}

inline std::vector<std::uint8_t> Filler(std::size_t count, std::uint8_t value = 0x11) {
  return std::vector<std::uint8_t>(count, value);
}

}  // namespace raz::test
