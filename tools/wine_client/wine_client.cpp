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

struct NamedMenuItem {
  const wchar_t* name;
  int id;
};

constexpr NamedMenuItem kMenuItems[] = {
    {L"N1", MenuId::N1}, {L"N6", MenuId::N6}, {L"N2", MenuId::N2},
    {L"N7", MenuId::N7}, {L"English1", MenuId::English1}, {L"N4", MenuId::N4},
    {L"N3", MenuId::N3},
};

// A menu command as the window receives it when its menu sends one.
int Menu(const std::wstring& name) {
  const HWND main = MainWindow();
  for (const NamedMenuItem& item : kMenuItems) {
    if (name == item.name) {
      return main != nullptr && ::PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(item.id), 0)
                 ? 0
                 : 1;
    }
  }
  return 2;
}

// The driver's client protocol: request 0x52D (register 101, board present 325, keys 326),
// key commands 0x78A.
constexpr UINT kClientRequest = WM_USER + 301;
constexpr UINT kKeyAction = WM_USER + 906;
constexpr wchar_t kClientClass[] = L"RA_Zazide test client";

HANDLE g_commandLog = INVALID_HANDLE_VALUE;

void LogLine(const std::string& line) {
  DWORD written = 0;
  const std::string text = line + "\n";
  ::WriteFile(g_commandLog, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

LRESULT CALLBACK ClientProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kKeyAction) {
    LogLine("command " + std::to_string(static_cast<unsigned long long>(wParam)) + " " +
            std::to_string(static_cast<long long>(lParam)));
    return 0;
  }
  if (message == WM_CLOSE) {
    ::DestroyWindow(window);
    return 0;
  }
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

// Registers a window of its own with the running driver, writes the answers to the three
// requests and then every key command it receives to the log file, one line each, until it is
// closed or the time is up.
int Listen(double seconds, const wchar_t* logPath) {
  g_commandLog = ::CreateFileW(logPath, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (g_commandLog == INVALID_HANDLE_VALUE) return 1;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = ClientProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = kClientClass;
  ::RegisterClassExW(&wc);
  const HWND window = ::CreateWindowExW(0, kClientClass, kClientClass, WS_OVERLAPPED, 0, 0, 10, 10,
                                        nullptr, nullptr, wc.hInstance, nullptr);
  const HWND main = MainWindow();
  if (window == nullptr || main == nullptr) return 1;
  const auto request = [&](WPARAM what, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(main, kClientRequest, what, lParam, SMTO_ABORTIFHUNG, 5000,
                               &result)) {
      LogLine("request " + std::to_string(what) + " no answer");
      return;
    }
    LogLine("request " + std::to_string(what) + " answer " +
            std::to_string(static_cast<unsigned long long>(result)));
  };
  request(101, reinterpret_cast<LPARAM>(window));
  request(326, 0);
  request(325, 0);
  ::SetTimer(window, 1, static_cast<UINT>(seconds * 1000), nullptr);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && msg.hwnd == window) {
      ::DestroyWindow(window);
      continue;
    }
    ::DispatchMessageW(&msg);
  }
  // Asked again at the end: at the start the board may not have been found yet.
  if (::IsWindow(main)) request(325, 0);
  ::CloseHandle(g_commandLog);
  return 0;
}

int Usage() {
  Print(L"usage: wine_client wait-window SECONDS | wait-gone SECONDS | label NAME |\n"
        L"       wait-label NAME TEXT SECONDS | count-processes EXE | window-info | close |\n"
        L"       wait-class CLASS SECONDS | close-class CLASS | menu ITEM |\n"
        L"       listen SECONDS LOGFILE | esc");
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Usage();
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
  if (command == L"menu" && argc == 3) {
    const int status = Menu(argv[2]);
    return status == 2 ? Usage() : status;
  }
  if (command == L"esc" && argc == 2) {
    // The key as the message loop sees it: posted to the main window's queue.
    const HWND main = MainWindow();
    return main != nullptr && ::PostMessageW(main, WM_KEYDOWN, VK_ESCAPE, 0x00010001) ? 0 : 1;
  }
  if (command == L"listen" && argc == 4) return Listen(std::wcstod(argv[2], nullptr), argv[3]);
  return Usage();
}
