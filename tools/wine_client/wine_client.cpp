// Test client for the Wine tests: finds the running RA_Zazide.exe and its controls from
// another process and reports what it sees on stdout (UTF-8). Exit code 0 means the
// command succeeded, 1 that it did not, 2 a usage error.
#include <windows.h>
#include <tlhelp32.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <thread>

#include "hosts/win32/control_ids.h"
#include "installer_commands.h"

namespace {

using namespace raz::win32;

void Print(const std::wstring& text) {
  const int size = static_cast<int>(text.size());
  const int needed =
      ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(needed), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), needed, nullptr, nullptr);
  utf8 += '\n';
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()),
              &written, nullptr);
}

HWND MainWindow() { return ::FindWindowW(kMainWindowClass, kMainWindowCaption); }

// Any top-level window of the class, e.g. the ink canvas ("RA_Zazide ink canvas").
HWND WindowOfClass(const wchar_t* className) { return ::FindWindowW(className, nullptr); }

// Polls until the condition holds or the time is up.
template <typename Condition>
bool WaitFor(double seconds, Condition condition) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

struct NamedControl {
  const wchar_t* name;
  int id;
};

constexpr NamedControl kControls[] = {
    {L"Label1", Form1Id::Label1},   {L"Label2", Form1Id::Label2},
    {L"Label3", Form1Id::Label3},   {L"Label4", Form1Id::Label4},
    {L"Label5", Form1Id::Label5},   {L"Label6", Form1Id::Label6},
    {L"Label7", Form1Id::Label7},   {L"Label8", Form1Id::Label8},
    {L"Label9", Form1Id::Label9},   {L"Label12", Form1Id::Label12},
    {L"Label13", Form1Id::Label13}, {L"Label14", Form1Id::Label14},
    {L"Label15", Form1Id::Label15}, {L"button1", Form1Id::button1},
    {L"Button3", Form1Id::Button3}, {L"Button4", Form1Id::Button4},
    {L"Button5", Form1Id::Button5}, {L"Memo1", Form1Id::Memo1},
    {L"Memo2", Form1Id::Memo2},     {L"Memo3", Form1Id::Memo3},
    {L"Edit1", Form1Id::Edit1},
};

int ControlId(const std::wstring& name) {
  for (const NamedControl& control : kControls) {
    if (name == control.name) return control.id;
  }
  return 0;
}

// The control's text as the program set it, asked through WM_GETTEXT across the process
// boundary; nothing when the window or control is missing.
bool ReadControl(const std::wstring& name, std::wstring& text) {
  const int id = ControlId(name);
  const HWND main = MainWindow();
  if (id == 0 || main == nullptr) return false;
  const HWND control = ::GetDlgItem(main, id);
  if (control == nullptr) return false;
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) {
    return false;
  }
  std::wstring buffer(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(control, WM_GETTEXT, buffer.size(),
                             reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG, 2000,
                             &copied)) {
    return false;
  }
  buffer.resize(copied);
  text = buffer;
  return true;
}

int CountProcesses(const std::wstring& exeName) {
  const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  int count = 0;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more;
       more = ::Process32NextW(snapshot, &entry)) {
    if (::_wcsicmp(entry.szExeFile, exeName.c_str()) == 0) ++count;
  }
  ::CloseHandle(snapshot);
  return count;
}

// 32 or 64 for the first running process of that name: a 32-bit process on a 64-bit system
// runs under WoW64; on a 32-bit system every process is 32-bit. 0 when none runs.
int ProcessBits(const std::wstring& exeName) {
  const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  DWORD id = 0;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more && id == 0;
       more = ::Process32NextW(snapshot, &entry)) {
    if (::_wcsicmp(entry.szExeFile, exeName.c_str()) == 0) id = entry.th32ProcessID;
  }
  ::CloseHandle(snapshot);
  if (id == 0) return 0;
  const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  if (process == nullptr) return 0;
  BOOL wow64 = FALSE;
  const BOOL asked = ::IsWow64Process(process, &wow64);
  ::CloseHandle(process);
  if (!asked) return 0;
  SYSTEM_INFO system{};
  ::GetNativeSystemInfo(&system);
  const bool system64 = system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
                        system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_ARM64;
  return system64 && !wow64 ? 64 : 32;
}

// Place, client size and the styles that keep the window out of sight and off the taskbar.
int WindowInfo() {
  const HWND main = MainWindow();
  if (main == nullptr) return 1;
  RECT window{};
  RECT client{};
  ::GetWindowRect(main, &window);
  ::GetClientRect(main, &client);
  const LONG_PTR style = ::GetWindowLongPtrW(main, GWL_STYLE);
  const LONG_PTR exStyle = ::GetWindowLongPtrW(main, GWL_EXSTYLE);
  wchar_t line[256];
  std::swprintf(line, 256,
                L"left=%ld top=%ld client=%ldx%ld caption_bar=%d topmost=%d toolwindow=%d "
                L"visible=%d",
                window.left, window.top, client.right - client.left, client.bottom - client.top,
                (style & WS_CAPTION) == WS_CAPTION ? 1 : 0, (exStyle & WS_EX_TOPMOST) ? 1 : 0,
                (exStyle & WS_EX_TOOLWINDOW) ? 1 : 0, ::IsWindowVisible(main) ? 1 : 0);
  Print(line);
  return 0;
}

int Usage() {
  Print(L"usage: wine_client wait-window SECONDS | wait-gone SECONDS | label NAME |\n"
        L"       wait-label NAME TEXT SECONDS | count-processes EXE | process-bits EXE |\n"
        L"       window-info | close |\n"
        L"       wait-class CLASS SECONDS | close-class CLASS");
  Print(raz::wineclient::kInstallerCommandsUsage);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Usage();
  if (const int status = raz::wineclient::RunInstallerCommand(argc, argv); status >= 0) {
    return status;
  }
  const std::wstring command = argv[1];
  if (command == L"wait-window" && argc == 3) {
    return WaitFor(std::wcstod(argv[2], nullptr), [] { return MainWindow() != nullptr; }) ? 0 : 1;
  }
  if (command == L"wait-gone" && argc == 3) {
    return WaitFor(std::wcstod(argv[2], nullptr), [] { return MainWindow() == nullptr; }) ? 0 : 1;
  }
  if (command == L"label" && argc == 3) {
    std::wstring text;
    if (!ReadControl(argv[2], text)) return 1;
    Print(text);
    return 0;
  }
  if (command == L"wait-label" && argc == 5) {
    std::wstring text;
    const std::wstring expected = argv[3];
    const bool ok = WaitFor(std::wcstod(argv[4], nullptr),
                            [&] { return ReadControl(argv[2], text) && text == expected; });
    Print(text);
    return ok ? 0 : 1;
  }
  if (command == L"count-processes" && argc == 3) {
    const int count = CountProcesses(argv[2]);
    Print(std::to_wstring(count));
    return count < 0 ? 1 : 0;
  }
  if (command == L"process-bits" && argc == 3) {
    const int bits = ProcessBits(argv[2]);
    Print(std::to_wstring(bits));
    return bits == 0 ? 1 : 0;
  }
  if (command == L"window-info" && argc == 2) return WindowInfo();
  if (command == L"close" && argc == 2) {
    // An ordinary close: the program answers it with its exit command.
    const HWND main = MainWindow();
    return main != nullptr && ::PostMessageW(main, WM_CLOSE, 0, 0) ? 0 : 1;
  }
  if (command == L"wait-class" && argc == 4) {
    const wchar_t* className = argv[2];
    const bool found =
        WaitFor(std::wcstod(argv[3], nullptr), [&] { return WindowOfClass(className) != nullptr; });
    return found ? 0 : 1;
  }
  if (command == L"close-class" && argc == 3) {
    const HWND window = WindowOfClass(argv[2]);
    return window != nullptr && ::PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
  }
  return Usage();
}
