// Measures the period Timer1 really achieves: the host's precise timer waited on by the
// host's own message loop, at 2 ms and 20 ms, beside a plain WM_TIMER asked for 2 ms.
// Prints median, 95th percentile and mean of the intervals between ticks.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "hosts/win32/message_loop.h"
#include "platform/win32/precise_timer.h"
#include "platform/win32/unique_handles.h"

namespace {

using raz::win32::PreciseTimer;

struct Stats {
  double medianMs;
  double p95Ms;
  double meanMs;
};

class Stopwatch {
 public:
  Stopwatch() { ::QueryPerformanceFrequency(&frequency_); }
  double NowMs() const {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency_.QuadPart);
  }

 private:
  LARGE_INTEGER frequency_{};
};

Stats Summarise(const std::vector<double>& stamps) {
  std::vector<double> periods;
  for (std::size_t i = 1; i < stamps.size(); ++i) periods.push_back(stamps[i] - stamps[i - 1]);
  if (periods.empty()) return {0, 0, 0};
  const double mean = (stamps.back() - stamps.front()) / static_cast<double>(periods.size());
  std::sort(periods.begin(), periods.end());
  const auto at = [&](double q) {
    return periods[std::min(periods.size() - 1, static_cast<std::size_t>(q * periods.size()))];
  };
  return {at(0.5), at(0.95), mean};
}

// Collects tick times until enough arrived, then ends the loop.
struct TickLog {
  const Stopwatch& clock;
  std::size_t wanted;
  std::vector<double> stamps;

  bool Record() {
    stamps.push_back(clock.NowMs());
    return stamps.size() > wanted;
  }
};

Stats MeasurePrecise(const Stopwatch& clock, PreciseTimer& timer, std::uint32_t intervalMs,
                     std::size_t ticks) {
  TickLog log{clock, ticks, {}};
  timer.Start(intervalMs);
  raz::win32::RunMessageLoop(timer, [&] {
    if (log.Record()) {
      timer.Stop();
      ::PostQuitMessage(0);
    }
  });
  return Summarise(log.stamps);
}

LRESULT CALLBACK ProbeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    auto* log = reinterpret_cast<TickLog*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (log != nullptr && log->Record()) {
      ::KillTimer(window, wParam);
      ::PostQuitMessage(0);
    }
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

Stats MeasureWmTimer(const Stopwatch& clock, PreciseTimer& idleTimer, std::uint32_t intervalMs,
                     std::size_t ticks) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ProbeWindowProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"timer probe";
  ::RegisterClassW(&wc);
  raz::win32::UniqueWindow window(::CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0,
                                                    HWND_MESSAGE, nullptr, wc.hInstance, nullptr));
  TickLog log{clock, ticks, {}};
  ::SetWindowLongPtrW(window.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&log));
  ::SetTimer(window.Get(), 1, intervalMs, nullptr);
  // The same loop, with the precise timer stopped: only messages drive it.
  raz::win32::RunMessageLoop(idleTimer, [] {});
  return Summarise(log.stamps);
}

void PrintRow(const char* name, std::uint32_t intervalMs, std::size_t ticks, const Stats& s) {
  std::printf("%-28s %6u ms %6zu %10.3f %10.3f %10.3f\n", name, intervalMs, ticks, s.medianMs,
              s.p95Ms, s.meanMs);
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t ticks = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1000;
  const std::size_t wmTicks = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1000;
  const Stopwatch clock;
  PreciseTimer timer;
  std::printf("precise timer: %s\n",
              timer.HighResolution() ? "high resolution" : "plain waitable timer (flag refused)");
  std::printf("%-28s %9s %6s %10s %10s %10s\n", "timer", "interval", "ticks", "median_ms",
              "p95_ms", "mean_ms");
  PrintRow("Timer1 (waitable + loop)", 2, ticks, MeasurePrecise(clock, timer, 2, ticks));
  PrintRow("Timer1 (waitable + loop)", 20, ticks, MeasurePrecise(clock, timer, 20, ticks));
  PrintRow("WM_TIMER (SetTimer)", 2, wmTicks, MeasureWmTimer(clock, timer, 2, wmTicks));
  std::fflush(stdout);
  return 0;
}
