#include "board/report_decoder.h"

#include <span>

#include "app/form1.h"
#include "board/axis_decoder.h"
#include "board/interpolation.h"
#include "board/pen_status.h"
#include "board/report_store.h"

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

void DecodeStoredReport(DriverState& state, std::vector<std::string>& diagnostics) {
  DecoderState& decoder = state.decoder;
  PenSample& sample = state.sample;
  const ReportSlots& store = decoder.ReportStore;

  sample.PenStatus = DecodeStatus(store[kStatusSlot], store[kPenCodeSlot], sample.LevelY,
                                  state.settings.PenTouchLimit, state.settings.PenRightCentre);

  RankRow(store, kFirstXSlot, decoder.X);
  sample.DoublePeakX = DoublePeak(decoder.X);
  // Nothing on the X row: the rest of the previous sample stands.
  if (RowIsEmpty(decoder.X)) return;

  if (!PlaceRow(Axis::X, decoder.X, decoder.FixX)) {
    sample.SampleRejected = 1;
    if (UnplacedAroundLoggedAnchor(decoder.X))
      diagnostics.push_back(UnplacedRowLine(decoder.X.Top));
  }
  sample.LevelX = StrongestLevel(decoder.X);

  RankRow(store, kFirstYSlot, decoder.Y);
  sample.DoublePeakY = DoublePeak(decoder.Y);
  if (!PlaceRow(Axis::Y, decoder.Y, decoder.FixY)) sample.SampleRejected = 1;
  sample.LevelY = StrongestLevel(decoder.Y);

  InterpolatePosition(state);
}

void ReadAndDecodeReports(TForm1& form) {
  DriverState& state = form.state();
  state.sample.SampleRejected = 0;
  const std::size_t received =
      FetchReports(form.platform().usb, state.link.BoardLink, state.decoder.ReceiveBuffer);
  state.sample.DataReceived = received > 0 ? 1 : 0;
  if (state.decoder.RateMeasurement == 1) {
    form.Memo1.Append(kQueuedBytesLabel + std::to_string(received));
  }
  StoreReport(state.decoder, state.link.ReportFraming, received, state.sample);
  DecodeStoredReport(state, form.Memo2.Lines);
  form.Memo2.KeepNewest();
}

}  // namespace raz
