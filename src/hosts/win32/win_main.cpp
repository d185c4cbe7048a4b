// Process entry of RA_Zazide.exe: one instance at a time, then the host and its message loop.
// The exit code is 0 in every case.
#include <exception>

#include "hosts/win32/control_ids.h"
#include "platform/win32/unique_handles.h"
#include "platform/win32/utf.h"
#include "hosts/win32/win32_host.h"

namespace {

constexpr wchar_t kInstanceMutex[] = L"No Previous Instance!";

int RunProgram(HINSTANCE instance) {
  raz::win32::UniqueHandle mutex(::CreateMutexW(nullptr, TRUE, kInstanceMutex));
  const DWORD error = ::GetLastError();
  if (!mutex) return 0;
  // Another instance runs: leave quietly, before any file is touched.
  if (error == ERROR_ALREADY_EXISTS) {
    ::ReleaseMutex(mutex.Get());
    return 0;
  }
  const raz::win32::OwnedMutex owned(std::move(mutex));
#ifdef RAZ_RAISED_PRIORITY
  // Comparison builds only (bench/latency.sh): the poll timer's thread above normal work.
  ::SetPriorityClass(::GetCurrentProcess(), HIGH_PRIORITY_CLASS);
  ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
#endif
  raz::win32::Win32Host host(instance);
  if (host.Start()) host.Run();
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  try {
    return RunProgram(instance);
  } catch (const std::exception& e) {
    ::MessageBoxW(nullptr, raz::win32::Widen(e.what()).c_str(), raz::win32::kMainWindowCaption,
                  MB_OK | MB_ICONERROR | MB_TOPMOST);
  }
  return 0;
}
