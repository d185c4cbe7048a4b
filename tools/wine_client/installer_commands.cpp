#include "installer_commands.h"

#include <windows.h>
// After windows.h, which they need.
#include <knownfolders.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <chrono>
#include <cwchar>
#include <string>
#include <thread>
#include <vector>

namespace raz::wineclient {

const wchar_t kInstallerCommandsUsage[] =
    L"       wait-titled TITLE SECONDS | wait-titled-gone TITLE SECONDS | controls TITLE |\n"
    L"       control-text TITLE ID | wait-control-text TITLE ID TEXT SECONDS |\n"
    L"       set-text TITLE ID TEXT | click-button TITLE ID | is-checked TITLE ID |\n"
    L"       folder programs|startup|localappdata|desktop | shortcut LNK | open FILE |\n"
    L"       process-path EXE";

namespace {

constexpr DWORD kSendTimeoutMs = 5000;

void PrintLine(const std::wstring& text) {
  const std::wstring line = text + L"\n";
  const int size = static_cast<int>(line.size());
  const int needed =
      ::WideCharToMultiByte(CP_UTF8, 0, line.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(needed), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, line.data(), size, utf8.data(), needed, nullptr, nullptr);
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()),
              &written, nullptr);
}

template <typename Condition>
bool WaitUntil(double seconds, Condition condition) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  ::GetClassNameW(window, name, 256);
  return name;
}

// Asked across the process boundary, bounded in time.
std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &length)) {
    return L"";
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  ::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied);
  text.resize(copied);
  return text;
}

struct DialogSearch {
  const std::wstring& title;
  HWND found = nullptr;
};

// Enumeration callbacks are plain stdcall functions: a lambda has no calling convention on i686.
BOOL CALLBACK VisitTopLevel(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<DialogSearch*>(context);
  if (::IsWindowVisible(window) && ClassOf(window) == L"#32770" &&
      TextOf(window).find(search.title) != std::wstring::npos) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM context) {
  reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
  return TRUE;
}

// The visible dialog-class top-level window whose title contains the text (an installer's
// caption names the product in every language).
HWND FindDialog(const std::wstring& title) {
  DialogSearch search{title};
  ::EnumWindows(VisitTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Every control of the dialog, its pages' controls included, in window order.
std::vector<HWND> Controls(HWND dialog) {
  std::vector<HWND> controls;
  ::EnumChildWindows(dialog, CollectChild, reinterpret_cast<LPARAM>(&controls));
  return controls;
}

// The first visible control with the id: a page hides the controls of the pages before it.
HWND FindControl(const std::wstring& title, int id) {
  const HWND dialog = FindDialog(title);
  if (dialog == nullptr) return nullptr;
  for (HWND control : Controls(dialog)) {
    if (::GetDlgCtrlID(control) == id && ::IsWindowVisible(control)) return control;
  }
  return nullptr;
}

int ListControls(const std::wstring& title) {
  const HWND dialog = FindDialog(title);
  if (dialog == nullptr) return 1;
  PrintLine(L"dialog \"" + TextOf(dialog) + L"\"");
  for (HWND control : Controls(dialog)) {
    if (!::IsWindowVisible(control)) continue;
    PrintLine(std::to_wstring(::GetDlgCtrlID(control)) + L" " + ClassOf(control) +
              (::IsWindowEnabled(control) ? L"" : L" (disabled)") + L" \"" + TextOf(control) +
              L"\"");
  }
  return 0;
}

// A user's click: the button is pressed and released, and its dialog gets BN_CLICKED.
bool Click(HWND button) {
  if (button == nullptr || !::IsWindowEnabled(button)) return false;
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result) !=
         0;
}

int KnownFolder(const std::wstring& name) {
  const KNOWNFOLDERID* id = nullptr;
  if (name == L"programs") id = &FOLDERID_Programs;
  if (name == L"startup") id = &FOLDERID_Startup;
  if (name == L"localappdata") id = &FOLDERID_LocalAppData;
  if (name == L"desktop") id = &FOLDERID_Desktop;
  if (id == nullptr) return 2;
  PWSTR path = nullptr;
  const bool found = SUCCEEDED(::SHGetKnownFolderPath(*id, 0, nullptr, &path));
  if (found) PrintLine(path);
  ::CoTaskMemFree(path);
  return found ? 0 : 1;
}

// Target, arguments and working folder of a shortcut, as the shell reads it.
int Shortcut(const std::wstring& path) {
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkW* link = nullptr;
  int status = 1;
  if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      wchar_t target[MAX_PATH] = {};
      wchar_t folder[MAX_PATH] = {};
      if (SUCCEEDED(file->Load(path.c_str(), STGM_READ)) &&
          SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, 0))) {
        link->GetWorkingDirectory(folder, MAX_PATH);
        PrintLine(L"target=" + std::wstring(target));
        PrintLine(L"folder=" + std::wstring(folder));
        status = 0;
      }
      file->Release();
    }
    link->Release();
  }
  ::CoUninitialize();
  return status;
}

// What a double click in Explorer does: the shell opens the file (a shortcut: its target).
int Open(const std::wstring& path) {
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  const auto result = reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  ::CoUninitialize();
  return result > 32 ? 0 : 1;
}

// The full path of the first running process of that name: which copy of a program runs.
int ProcessPath(const std::wstring& exeName) {
  const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 1;
  DWORD id = 0;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more && id == 0;
       more = ::Process32NextW(snapshot, &entry)) {
    if (::_wcsicmp(entry.szExeFile, exeName.c_str()) == 0) id = entry.th32ProcessID;
  }
  ::CloseHandle(snapshot);
  const HANDLE process =
      id == 0 ? nullptr : ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  if (process == nullptr) return 1;
  wchar_t path[MAX_PATH * 2] = {};
  DWORD length = MAX_PATH * 2;
  const bool found = ::QueryFullProcessImageNameW(process, 0, path, &length) != 0;
  ::CloseHandle(process);
  if (found) PrintLine(path);
  return found ? 0 : 1;
}

}  // namespace

int RunInstallerCommand(int argc, wchar_t** argv) {
  if (argc < 3) return -1;
  const std::wstring command = argv[1];
  const std::wstring title = argv[2];
  if (command == L"wait-titled" && argc == 4) {
    return WaitUntil(std::wcstod(argv[3], nullptr), [&] { return FindDialog(title) != nullptr; })
               ? 0
               : 1;
  }
  if (command == L"wait-titled-gone" && argc == 4) {
    return WaitUntil(std::wcstod(argv[3], nullptr), [&] { return FindDialog(title) == nullptr; })
               ? 0
               : 1;
  }
  if (command == L"controls" && argc == 3) return ListControls(title);
  if (command == L"control-text" && argc == 4) {
    const HWND control = FindControl(title, std::wcstol(argv[3], nullptr, 10));
    if (control == nullptr) return 1;
    PrintLine(TextOf(control));
    return 0;
  }
  if (command == L"wait-control-text" && argc == 6) {
    const int id = std::wcstol(argv[3], nullptr, 10);
    const std::wstring expected = argv[4];
    std::wstring text;
    const bool found = WaitUntil(std::wcstod(argv[5], nullptr), [&] {
      const HWND control = FindControl(title, id);
      text = control != nullptr ? TextOf(control) : L"";
      return control != nullptr && ::IsWindowEnabled(control) && text == expected;
    });
    PrintLine(text);
    return found ? 0 : 1;
  }
  if (command == L"set-text" && argc == 5) {
    const HWND control = FindControl(title, std::wcstol(argv[3], nullptr, 10));
    DWORD_PTR result = 0;
    return control != nullptr &&
                   ::SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]),
                                         SMTO_ABORTIFHUNG, kSendTimeoutMs, &result) != 0
               ? 0
               : 1;
  }
  if (command == L"click-button" && argc == 4) {
    return Click(FindControl(title, std::wcstol(argv[3], nullptr, 10))) ? 0 : 1;
  }
  if (command == L"is-checked" && argc == 4) {
    const HWND control = FindControl(title, std::wcstol(argv[3], nullptr, 10));
    if (control == nullptr) return 1;
    DWORD_PTR state = 0;
    ::SendMessageTimeoutW(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &state);
    PrintLine(state == BST_CHECKED ? L"1" : L"0");
    return 0;
  }
  if (command == L"folder" && argc == 3) return KnownFolder(title);
  if (command == L"shortcut" && argc == 3) return Shortcut(title);
  if (command == L"open" && argc == 3) return Open(title);
  if (command == L"process-path" && argc == 3) return ProcessPath(title);
  return -1;
}

}  // namespace raz::wineclient
