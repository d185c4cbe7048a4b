#include "storage/data_files.h"

#include <bit>
#include <cstring>

#include "base/numeric.h"

namespace raz {
namespace {

// Bounds-checked little-endian reads: a field past the end of the bytes reads as 0.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint32_t U32(std::size_t offset) const {
    if (offset + 4 > bytes_.size()) return 0;
    return std::uint32_t{bytes_[offset]} | std::uint32_t{bytes_[offset + 1]} << 8 |
           std::uint32_t{bytes_[offset + 2]} << 16 | std::uint32_t{bytes_[offset + 3]} << 24;
  }
  std::int32_t I32(std::size_t offset) const { return static_cast<std::int32_t>(U32(offset)); }
  float F32(std::size_t offset) const { return std::bit_cast<float>(U32(offset)); }

 private:
  std::span<const std::uint8_t> bytes_;
};

class ByteWriter {
 public:
  explicit ByteWriter(std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

  void U32(std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes_.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
  }
  void I32(std::size_t offset, std::int32_t value) { U32(offset, static_cast<std::uint32_t>(value)); }
  void F32(std::size_t offset, float value) { U32(offset, std::bit_cast<std::uint32_t>(value)); }

 private:
  std::vector<std::uint8_t>& bytes_;
};

}  // namespace

std::vector<std::uint8_t> EncodeCalibrationRecord(const CalibrationRecord& c,
                                                  const InterpolationSpans& spans) {
  namespace R = CalibrationRecordLayout;
  std::vector<std::uint8_t> bytes(R::kSize, 0);
  ByteWriter w(bytes);
  for (std::size_t k = 0; k < c.CalibrationPoints.size(); ++k) {
    w.F32(R::kPointsX + 4 * k, c.CalibrationPoints[k].x);
    w.F32(R::kPointsY + 4 * k, c.CalibrationPoints[k].y);
  }
  w.I32(R::kReservedWord, c.ReservedWord);
  w.F32(R::kReservedLevel, static_cast<float>(c.ReservedLevel));
  w.F32(R::kScaleX, c.CalibrationScaleX);
  w.F32(R::kScaleY, c.CalibrationScaleY);
  for (std::size_t i = 0; i < spans.size(); ++i) {
    w.F32(R::kSpans + 4 * i, static_cast<float>(spans[i]));
  }
  w.F32(R::kScreenOffsetX, static_cast<float>(c.ScreenOffsetX));
  w.F32(R::kScreenOffsetY, static_cast<float>(c.ScreenOffsetY));
  return bytes;
}

CalibrationRecord DecodeCalibrationRecord(std::span<const std::uint8_t> bytes) {
  namespace R = CalibrationRecordLayout;
  const ByteReader r(bytes);
  CalibrationRecord c;
  for (std::size_t k = 0; k < c.CalibrationPoints.size(); ++k) {
    c.CalibrationPoints[k] = {r.F32(R::kPointsX + 4 * k), r.F32(R::kPointsY + 4 * k)};
  }
  c.ReservedWord = r.I32(R::kReservedWord);
  c.ReservedLevel = TruncToInt(r.F32(R::kReservedLevel));
  c.CalibrationScaleX = r.F32(R::kScaleX);
  c.CalibrationScaleY = r.F32(R::kScaleY);
  c.ScreenOffsetX = TruncToInt(r.F32(R::kScreenOffsetX));
  c.ScreenOffsetY = TruncToInt(r.F32(R::kScreenOffsetY));
  return c;
}

std::string ProgramFile(const Files& files, const std::string& name) {
  return files.ProgramFolder() + name;
}

CalibrationRecord LoadCalibration(Files& files) {
  const auto bytes =
      files.ReadFile(ProgramFile(files, kCalibrationFileName), CalibrationRecordLayout::kSize);
  return DecodeCalibrationRecord(bytes ? std::span<const std::uint8_t>(*bytes)
                                       : std::span<const std::uint8_t>());
}

bool SaveCalibration(Files& files, const CalibrationRecord& record, const InterpolationSpans& spans) {
  return files.WriteFromStart(ProgramFile(files, kCalibrationFileName),
                              EncodeCalibrationRecord(record, spans));
}

std::optional<std::int32_t> LoadFlag(Files& files, const char* fileName) {
  const auto bytes = files.ReadFile(ProgramFile(files, fileName), 4);
  if (!bytes || bytes->size() < 4) return std::nullopt;
  return ByteReader(*bytes).I32(0);
}

bool SaveFlag(Files& files, const char* fileName, std::int32_t value) {
  std::vector<std::uint8_t> bytes(4);
  ByteWriter(bytes).I32(0, value);
  return files.WriteFromStart(ProgramFile(files, fileName), bytes);
}

}  // namespace raz
