#include "pointer/report_verdict.h"

#include "base/pen_status.h"

namespace raz {

ReportVerdict JudgeReport(const PenSample& sample, ReportFraming framing, bool wholeFrameStored,
                          const PointerState& pointer) {
  if (sample.SampleRejected) return ReportVerdict::RejectedSample;
  const bool signal = sample.LevelY > kSignalLevel;
  if (framing == ReportFraming::Plain && !signal) return ReportVerdict::WeakSignal;
  if (framing == ReportFraming::Framed && !wholeFrameStored) return ReportVerdict::PartialFrame;
  if (pointer.SwallowingContact && sample.Status == PenStatus::Touch) {
    return ReportVerdict::SwallowedContact;
  }
  return signal ? ReportVerdict::DrivesPen : ReportVerdict::SilentFrame;
}

}  // namespace raz
