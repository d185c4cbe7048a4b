#include "sim/report_bytes.h"

#include <algorithm>

namespace raz::sim {

PlainReport BuildPlainReport(StatusBytes status, const SensorRow& x, const SensorRow& y) {
  PlainReport report{};
  report[0] = status.status;
  report[1] = status.penCode;
  const auto xFirst = report.begin() + 2;
  const auto yFirst = std::copy(x.begin(), x.end(), xFirst);
  std::copy(y.begin(), y.end(), yFirst);
  report[kPlainReportSize - 1] = kReportTail;
  return report;
}

ReportFrame FrameReport(const PlainReport& report) {
  ReportFrame frame{};
  frame.front() = kFrameStart;
  std::copy(report.begin(), report.end(), frame.begin() + 1);
  frame.back() = kFrameEnd;
  return frame;
}

}  // namespace raz::sim
