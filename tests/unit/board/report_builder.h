#pragma once
// Report bytes as the board sends them, for feeding the decoder.
#include <array>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

namespace raz::test {

using Bytes = std::vector<std::uint8_t>;
using SensorRow = std::array<std::uint8_t, 21>;  // sensors 1..21

// A row with the given (sensor, level) pairs and every other sensor at `rest`.
inline SensorRow Row(std::initializer_list<std::pair<int, int>> levels, int rest = 0) {
  SensorRow row;
  row.fill(static_cast<std::uint8_t>(rest));
  for (const auto& [sensor, level] : levels) row[sensor - 1] = static_cast<std::uint8_t>(level);
  return row;
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes bytes;
  for (const auto& part : parts) bytes.insert(bytes.end(), part.begin(), part.end());
  return bytes;
}

inline Bytes Filler(std::size_t count, std::uint8_t value = 0x11) { return Bytes(count, value); }

// The 45 bytes of a plain report; the low two bits of `status` are the report type.
inline Bytes PlainReport(std::uint8_t status, std::uint8_t penCode, const SensorRow& x,
                         const SensorRow& y, std::uint8_t last = 0x51) {
  return Concat({{status, penCode}, Bytes(x.begin(), x.end()), Bytes(y.begin(), y.end()), {last}});
}

// The 47 bytes of a frame: start, the plain report, end.
inline Bytes Frame(std::uint8_t status, std::uint8_t penCode, const SensorRow& x,
                   const SensorRow& y) {
  return Concat({{0xFD}, PlainReport(status, penCode, x, y), {0xFE}});
}

}  // namespace raz::test
