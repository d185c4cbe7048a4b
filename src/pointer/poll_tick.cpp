#include "pointer/poll_tick.h"

#include "app/form1.h"
#include "board/report_decoder.h"
#include "board/report_store.h"
#include "pointer/pen_state_machine.h"

namespace raz {
namespace {

constexpr std::int32_t kPlainSignalLevel = 30;

}  // namespace

bool SampleDrivesPen(const DriverState& state) {
  const PenSample& s = state.sample;
  if (s.SampleRejected != 0) return false;
  const std::int32_t framing = state.link.ReportFraming;
  if (framing == 0) return s.LevelY > kPlainSignalLevel;
  const auto& store = state.decoder.ReportStore;
  return framing == 1 && s.FrameComplete == 1 && store.front() == kFrameStart &&
         store.back() == kFrameEnd;
}

void PollTick(TForm1& form) {
  ReadAndDecodeReports(form);
  if (SampleDrivesPen(form.state())) RunPenStateMachine(form);
}

}  // namespace raz
