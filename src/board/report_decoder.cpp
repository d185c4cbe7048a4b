#include "board/report_decoder.h"

#include "board/axis_decoder.h"
#include "board/report_status.h"

namespace raz {
namespace {

constexpr std::array<const char*, 5> kTopSensorLabels{"x_zdxs1：", "x_zdxs2：", "x_zdxs3：",
                                                      "x_zdxs4：", "x_zdxs5："};
constexpr char kLabelSeparator[] = "  ";
constexpr std::size_t kStatusSlot = 1;
constexpr std::size_t kPenCodeSlot = 2;
// Sensor 16 as anchor and strongest sensor without a block is the case worth logging.
constexpr std::int32_t kLoggedAnchor = 16;

bool UnplacedAroundLoggedAnchor(const AxisWork& work) {
  return work.Anchor == kLoggedAnchor && work.Top[0] == kLoggedAnchor;
}

}  // namespace

std::string UnplacedRowLine(const TopSensors& top) {
  std::string line;
  for (std::size_t i = 0; i < top.size(); ++i) {
    if (i > 0) line += kLabelSeparator;
    line += kTopSensorLabels[i];
    line += std::to_string(top[i]);
  }
  return line;
}

DecodeResult DecodeReport(const ReportSlots& store, const PenSettings& pen, DecoderState& decoder) {
  BoardReading& reading = decoder.Reading;
  DecodeResult result;
  reading.SampleRejected = false;
  reading.Status = DecodeStatus(store[kStatusSlot], store[kPenCodeSlot], reading.LevelY, pen);

  RankRow(store, kFirstXSlot, decoder.X);
  reading.DoublePeakX = DoublePeak(decoder.X);
  // Nothing on the X row: the rest of the previous reading stands.
  if (RowIsEmpty(decoder.X)) {
    result.Reading = reading;
    return result;
  }

  if (!PlaceRow(Axis::X, decoder.X, reading.FixX)) {
    reading.SampleRejected = true;
    if (UnplacedAroundLoggedAnchor(decoder.X)) result.Diagnostic = UnplacedRowLine(decoder.X.Top);
  }
  reading.LevelX = StrongestLevel(decoder.X);

  RankRow(store, kFirstYSlot, decoder.Y);
  reading.DoublePeakY = DoublePeak(decoder.Y);
  if (!PlaceRow(Axis::Y, decoder.Y, reading.FixY)) reading.SampleRejected = true;
  reading.LevelY = StrongestLevel(decoder.Y);

  result.Reading = reading;
  result.RowsDecoded = true;
  return result;
}

}  // namespace raz
