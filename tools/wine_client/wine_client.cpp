// Test client for the Wine tests: finds the running RA_Zazide.exe and its controls from
// another process and reports what it sees on stdout (UTF-8). Exit code 0 means the
// command succeeded, 1 that it did not, 2 a usage error.
#include <windows.h>

#include <knownfolders.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>
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

BOOL CALLBACK FirstVisibleChild(HWND child, LPARAM found) {
  if (!::IsWindowVisible(child)) return TRUE;
  *reinterpret_cast<HWND*>(found) = child;
  return FALSE;
}

// The tray icon's window. Wine shows the notification area in a window of its own when no X
// tray is there, one child window per icon.
HWND TrayIconWindow() {
  HWND tray = ::FindWindowW(nullptr, L"Wine System Tray");
  if (tray == nullptr || !::IsWindowVisible(tray)) tray = ::FindWindowW(L"Shell_TrayWnd", nullptr);
  if (tray == nullptr) return nullptr;
  HWND icon = nullptr;
  ::EnumChildWindows(tray, FirstVisibleChild, reinterpret_cast<LPARAM>(&icon));
  return icon != nullptr ? icon : tray;
}

// The program's icon is in the notification area: a visible icon window.
bool TrayIconPresent() {
  const HWND icon = TrayIconWindow();
  wchar_t name[64] = {};
  if (icon != nullptr) ::GetClassNameW(icon, name, 64);
  return std::wstring(name).find(L"tray_icon") != std::wstring::npos;
}

// A real click as the user makes it: the cursor moves there, the button goes down and up.
bool ClickAt(POINT at, DWORD down, DWORD up) {
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  if (width <= 0 || height <= 0) return false;
  INPUT inputs[3]{};
  for (INPUT& input : inputs) {
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((at.x * 65536LL + width - 1) / width);
    input.mi.dy = static_cast<LONG>((at.y * 65536LL + height - 1) / height);
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  }
  inputs[1].mi.dwFlags |= down;
  inputs[2].mi.dwFlags |= up;
  for (INPUT& input : inputs) {
    if (::SendInput(1, &input, sizeof(INPUT)) != 1) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

POINT CentreOf(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The open pop-up menu of the process of a top-level window, if any (other processes keep menu
// windows of their own): the program's, or another program's by its window class.
HWND MenuWindowOf(const wchar_t* className) {
  const HWND main = className == nullptr ? MainWindow() : WindowOfClass(className);
  if (main == nullptr) return nullptr;
  DWORD program = 0;
  ::GetWindowThreadProcessId(main, &program);
  HWND menu = nullptr;
  while ((menu = ::FindWindowExW(nullptr, menu, L"#32768", nullptr)) != nullptr) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(menu, &owner);
    if (owner == program && ::IsWindowVisible(menu)) return menu;
  }
  return nullptr;
}

HWND MenuWindow() { return MenuWindowOf(nullptr); }

int TrayClick(const std::wstring& button) {
  const HWND icon = TrayIconWindow();
  if (icon == nullptr) return 1;
  const bool right = button == L"right";
  return ClickAt(CentreOf(icon), right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN,
                 right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP)
             ? 0
             : 1;
}

// Keys for the open menu, posted to its window: its modal loop takes them from the program's
// queue whatever window has the focus.
// Keys to the open menu, from argv[first] on.
int MenuKeys(HWND menu, int first, int argc, wchar_t** argv) {
  if (menu == nullptr) return 1;
  for (int i = first; i < argc; ++i) {
    const std::wstring key = argv[i];
    WPARAM vk = 0;
    if (key == L"down") vk = VK_DOWN;
    if (key == L"up") vk = VK_UP;
    if (key == L"right") vk = VK_RIGHT;
    if (key == L"left") vk = VK_LEFT;
    if (key == L"return") vk = VK_RETURN;
    if (key == L"escape") vk = VK_ESCAPE;
    if (vk == 0) return 2;
    ::PostMessageW(menu, WM_KEYDOWN, vk, 1);
    ::PostMessageW(menu, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
  }
  return 0;
}

HWND DialogWindow() { return ::FindWindowW(kDialogWindowClass, kDialogWindowCaption); }

struct NamedDialogControl {
  const wchar_t* name;
  int id;
};

struct NamedMenuItem {
  const wchar_t* name;
  int id;
};

constexpr NamedDialogControl kDialogControls[] = {
    {L"RadioGroup1", Form2Id::RadioGroup1},   {L"RadioButton1", Form2Id::RadioButton1},
    {L"RadioButton2", Form2Id::RadioButton2}, {L"Button1", Form2Id::Button1},
    {L"Button2", Form2Id::Button2},           {L"RadioGroup2", Form2Id::RadioGroup2},
    {L"KX", Form2Id::RadioGroup2 + 1},        {L"RU82", Form2Id::RadioGroup2 + 2},
    {L"VI100", Form2Id::RadioGroup2 + 3},     {L"RadioGroup3", Form2Id::RadioGroup3},
    {L"Standard", Form2Id::RadioGroup3 + 1},  {L"KeystoneExact", Form2Id::RadioGroup3 + 2},
    {L"RadioGroup4", Form2Id::RadioGroup4},
    {L"Classic", Form2Id::RadioGroup4 + 1},   {L"Responsive", Form2Id::RadioGroup4 + 2},
};

HWND DialogControl(const std::wstring& name) {
  const HWND dialog = DialogWindow();
  if (dialog == nullptr) return nullptr;
  for (const NamedDialogControl& control : kDialogControls) {
    if (name == control.name) return ::GetDlgItem(dialog, control.id);
  }
  return nullptr;
}

std::wstring TextOf(HWND window) {
  wchar_t text[512] = {};
  ::SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, nullptr);
  return text;
}

// Client size, the captions of the dialog's controls, and which radio buttons are checked.
int DialogInfo() {
  const HWND dialog = DialogWindow();
  if (dialog == nullptr) return 1;
  RECT client{};
  ::GetClientRect(dialog, &client);
  wchar_t line[128];
  std::swprintf(line, 128, L"client=%ldx%ld visible=%d", client.right, client.bottom,
                ::IsWindowVisible(dialog) ? 1 : 0);
  Print(line);
  for (const NamedDialogControl& named : kDialogControls) {
    const HWND control = ::GetDlgItem(dialog, named.id);
    if (control == nullptr) continue;
    RECT r{};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    DWORD_PTR checked = 0;
    ::SendMessageTimeoutW(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &checked);
    const bool inside =
        r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom;
    std::swprintf(line, 128, L"%ls at=%ld,%ld,%ld,%ld checked=%d inside=%d: ", named.name, r.left,
                  r.top, r.right - r.left, r.bottom - r.top, checked == BST_CHECKED ? 1 : 0,
                  inside ? 1 : 0);
    Print(line + TextOf(control));
  }
  return 0;
}

// A click on a control of the dialog as the user makes it.
int DialogClick(const std::wstring& name) {
  const HWND control = DialogControl(name);
  if (control == nullptr) return 1;
  return ClickAt(CentreOf(control), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP) ? 0 : 1;
}

// The autostart shortcut in the user's Startup folder, read back through the shell:
// "target=PATH workdir=FOLDER", or "missing".
int StartupShortcut() {
  wchar_t* folder = nullptr;
  const HRESULT found = ::SHGetKnownFolderPath(FOLDERID_Startup, 0, nullptr, &folder);
  std::wstring path = SUCCEEDED(found) && folder != nullptr ? folder : L"";
  ::CoTaskMemFree(folder);
  if (path.empty()) return 1;
  path += L"\\RA_Zazide.lnk";
  if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    Print(L"missing");
    return 0;
  }
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  wchar_t target[MAX_PATH] = {};
  wchar_t workdir[MAX_PATH] = {};
  bool ok = SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IShellLinkW, reinterpret_cast<void**>(&link))) &&
            SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
            SUCCEEDED(file->Load(path.c_str(), STGM_READ)) &&
            SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
            SUCCEEDED(link->GetWorkingDirectory(workdir, MAX_PATH));
  if (file != nullptr) file->Release();
  if (link != nullptr) link->Release();
  ::CoUninitialize();
  if (!ok) return 1;
  Print(std::wstring(L"target=") + target + L" workdir=" + workdir);
  return 0;
}

constexpr NamedMenuItem kMenuItems[] = {
    {L"N1", MenuId::N1}, {L"N6", MenuId::N6}, {L"N2", MenuId::N2},
    {L"N7", MenuId::N7}, {L"English1", MenuId::English1}, {L"N4", MenuId::N4},
    {L"N8", MenuId::N8}, {L"N3", MenuId::N3}, {L"N10", MenuId::N10},
    {L"Screen1", MenuId::Screen1}, {L"Screen2", MenuId::Screen1 + 1},
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
// key commands 0x78A; and the hold message 0x52E, which goes to the window named by the
// driver's APPClassName and APPCaption settings (this window, when they name it).
constexpr UINT kClientRequest = WM_USER + 301;
constexpr UINT kHoldKey = WM_USER + 302;
constexpr UINT kKeyAction = WM_USER + 906;
constexpr wchar_t kClientClass[] = L"RA_Zazide test client";

HANDLE g_commandLog = INVALID_HANDLE_VALUE;

void LogLine(const std::string& line) {
  DWORD written = 0;
  const std::string text = line + "\n";
  ::WriteFile(g_commandLog, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

LRESULT CALLBACK ClientProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kKeyAction || message == kHoldKey) {
    LogLine((message == kKeyAction ? "command " : "hold ") +
            std::to_string(static_cast<unsigned long long>(wParam)) + " " +
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
// requests and then every key command and hold message it receives to the log file, one line
// each, until it is closed or the time is up.
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

// Messages another program should not be able to hurt the driver with. A creation message
// sent to the live window, its record marshalled by the system with the creation parameter
// given (an address in no one's memory, or 0) and a name of its own.
int HostileCreate(LPARAM createParams) {
  const HWND main = MainWindow();
  if (main == nullptr) return 1;
  CREATESTRUCTW create{};
  create.lpCreateParams = reinterpret_cast<LPVOID>(createParams);
  create.lpszName = L"hostile";
  create.lpszClass = kMainWindowClass;
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutW(main, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create),
                               SMTO_ABORTIFHUNG, 5000, &result)
             ? 0
             : 1;
}

// A client request sent as a client sends it; prints the answer. LPARAM "top" or "child" is a
// window of this program's own: a top-level one, or a control on it.
int Request(WPARAM what, const std::wstring& param) {
  const HWND top = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                     nullptr, nullptr);
  const HWND child =
      ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 1, 1, top, nullptr, nullptr, nullptr);
  auto lParam = static_cast<LPARAM>(std::wcstoll(param.c_str(), nullptr, 0));
  if (param == L"top") lParam = reinterpret_cast<LPARAM>(top);
  if (param == L"child") lParam = reinterpret_cast<LPARAM>(child);
  const HWND main = MainWindow();
  DWORD_PTR result = 0;
  if (main == nullptr ||
      !::SendMessageTimeoutW(main, kClientRequest, what, lParam, SMTO_ABORTIFHUNG, 5000, &result)) {
    return 1;
  }
  Print(std::to_wstring(static_cast<unsigned long long>(result)));
  return 0;
}

// The left button as the whole desktop sees it, whichever program pressed it.
bool LeftButtonDown() { return (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0; }

// Another program's edit control: the first "Edit" child of the top-level window of a class.
HWND EditOf(const wchar_t* className) {
  const HWND top = WindowOfClass(className);
  return top == nullptr ? nullptr : ::FindWindowExW(top, nullptr, L"Edit", nullptr);
}

// Places the window of the class at X Y, W x H, in front, and prints where its edit control
// shows the first line, in screen pixels: the left of its first character, the top of the line,
// the right of its last character, the line height, and the line's length in characters.
int EditPlace(const wchar_t* className, int x, int y, int width, int height) {
  const HWND top = WindowOfClass(className);
  const HWND edit = EditOf(className);
  if (top == nullptr || edit == nullptr) return 1;
  ::SetWindowPos(top, HWND_TOP, x, y, width, height, SWP_SHOWWINDOW);
  ::SetForegroundWindow(top);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const auto length = static_cast<int>(::SendMessageW(edit, EM_LINELENGTH, 0, 0));
  const auto second = static_cast<WPARAM>(::SendMessageW(edit, EM_LINEINDEX, 1, 0));
  const auto at = [&](WPARAM index) {
    const auto packed = static_cast<DWORD>(::SendMessageW(edit, EM_POSFROMCHAR, index, 0));
    POINT p{static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
    ::ClientToScreen(edit, &p);
    return p;
  };
  const POINT first = at(0), last = at(static_cast<WPARAM>(length)), below = at(second);
  Print(std::to_wstring(first.x) + L" " + std::to_wstring(first.y) + L" " +
        std::to_wstring(last.x) + L" " + std::to_wstring(below.y - first.y) + L" " +
        std::to_wstring(length));
  return 0;
}

// Prints the selection of the window's edit control: START END, in characters.
int EditSelection(const wchar_t* className) {
  const HWND edit = EditOf(className);
  if (edit == nullptr) return 1;
  const auto packed = static_cast<DWORD>(::SendMessageW(edit, EM_GETSEL, 0, 0));
  Print(std::to_wstring(LOWORD(packed)) + L" " + std::to_wstring(HIWORD(packed)));
  return 0;
}

int Usage() {
  Print(L"usage: wine_client wait-window SECONDS | wait-gone SECONDS | label NAME |\n"
        L"       wait-label NAME TEXT SECONDS | count-processes EXE | process-bits EXE |\n"
        L"       window-info | close | wait-class CLASS SECONDS | close-class CLASS |\n"
        L"       tray-click [left|right] | wait-menu SECONDS [CLASS] |\n"
        L"       wait-no-menu SECONDS [CLASS] | menu-keys KEY... | menu-keys-of CLASS KEY... |\n"
        L"       click X Y | wait-dialog SECONDS | wait-no-dialog SECONDS |\n"
        L"       dialog-info | dialog-click NAME | tray-info | tray-message LPARAM |\n"
        L"       startup-shortcut | tray-remove | taskbar-created | wait-tray-icon SECONDS |\n"
        L"       menu ITEM | listen SECONDS LOGFILE | esc | edit-place CLASS X Y W H |\n"
        L"       edit-selection CLASS | hostile-create PARAM | post quit|destroy |\n"
        L"       request WPARAM LPARAM|top|child | wait-left up|down SECONDS |\n"
        L"       wait-no-tray-icon SECONDS");
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
  if (command == L"tray-info" && argc == 2) {
    const HWND icon = TrayIconWindow();
    if (icon == nullptr) return 1;
    RECT r{};
    ::GetWindowRect(icon, &r);
    wchar_t name[128] = {};
    ::GetClassNameW(icon, name, 128);
    Print(std::wstring(name) + L" " + std::to_wstring(r.left) + L" " + std::to_wstring(r.top) +
          L" " + std::to_wstring(r.right - r.left) + L" " + std::to_wstring(r.bottom - r.top));
    return 0;
  }
  if (command == L"tray-message" && argc == 3) {
    // What the shell sends when the user clicks the icon, sent without the shell.
    const HWND main = MainWindow();
    return main != nullptr && ::PostMessageW(main, 0x8064, 1006, std::wcstol(argv[2], nullptr, 0))
               ? 0
               : 1;
  }
  if (command == L"tray-remove" && argc == 2) {
    // The notification area loses the program's icon, as when Explorer is restarted.
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = MainWindow();
    data.uID = 1006;
    if (data.hWnd == nullptr || !::Shell_NotifyIconW(NIM_DELETE, &data)) return 1;
    // Looked at from here, right away: a second client started under Wine takes long enough
    // for the program's device watch to have put the icon back.
    return TrayIconPresent() ? 1 : 0;
  }
  if (command == L"taskbar-created" && argc == 2) {
    // What a new Explorer sends every window once its taskbar is there.
    const HWND main = MainWindow();
    const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
    return main != nullptr && message != 0 && ::PostMessageW(main, message, 0, 0) ? 0 : 1;
  }
  if (command == L"wait-tray-icon" && argc == 3) {
    // Until the program's icon is in the notification area: a visible icon window.
    return WaitFor(std::wcstod(argv[2], nullptr), TrayIconPresent) ? 0 : 1;
  }
  if (command == L"tray-click" && argc <= 3) return TrayClick(argc == 3 ? argv[2] : L"left");
  if (command == L"wait-menu" && (argc == 3 || argc == 4)) {
    // Prints where the menu lies on the screen: LEFT TOP WIDTH HEIGHT.
    const wchar_t* of = argc == 4 ? argv[3] : nullptr;
    if (!WaitFor(std::wcstod(argv[2], nullptr), [&] { return MenuWindowOf(of) != nullptr; })) {
      return 1;
    }
    RECT r{};
    ::GetWindowRect(MenuWindowOf(of), &r);
    Print(std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " +
          std::to_wstring(r.right - r.left) + L" " + std::to_wstring(r.bottom - r.top));
    return 0;
  }
  if (command == L"wait-no-menu" && (argc == 3 || argc == 4)) {
    const wchar_t* of = argc == 4 ? argv[3] : nullptr;
    const bool closed =
        WaitFor(std::wcstod(argv[2], nullptr), [&] { return MenuWindowOf(of) == nullptr; });
    return closed ? 0 : 1;
  }
  if (command == L"menu-keys" && argc >= 3) return MenuKeys(MenuWindow(), 2, argc, argv);
  if (command == L"menu-keys-of" && argc >= 4) {
    return MenuKeys(MenuWindowOf(argv[2]), 3, argc, argv);
  }
  if (command == L"click" && argc == 4) {
    const POINT at{static_cast<LONG>(std::wcstol(argv[2], nullptr, 10)),
                   static_cast<LONG>(std::wcstol(argv[3], nullptr, 10))};
    return ClickAt(at, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP) ? 0 : 1;
  }
  if (command == L"wait-dialog" && argc == 3) {
    return WaitFor(std::wcstod(argv[2], nullptr),
                   [] { return DialogWindow() != nullptr && ::IsWindowVisible(DialogWindow()); })
               ? 0
               : 1;
  }
  if (command == L"wait-no-dialog" && argc == 3) {
    return WaitFor(std::wcstod(argv[2], nullptr),
                   [] { return DialogWindow() == nullptr || !::IsWindowVisible(DialogWindow()); })
               ? 0
               : 1;
  }
  if (command == L"dialog-info" && argc == 2) return DialogInfo();
  if (command == L"dialog-click" && argc == 3) return DialogClick(argv[2]);
  if (command == L"startup-shortcut" && argc == 2) return StartupShortcut();
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
  if (command == L"edit-place" && argc == 7) {
    const auto number = [&](int k) { return static_cast<int>(std::wcstol(argv[k], nullptr, 10)); };
    return EditPlace(argv[2], number(3), number(4), number(5), number(6));
  }
  if (command == L"edit-selection" && argc == 3) return EditSelection(argv[2]);
  if (command == L"hostile-create" && argc == 3) {
    return HostileCreate(static_cast<LPARAM>(std::wcstoull(argv[2], nullptr, 0)));
  }
  if (command == L"post" && argc == 3) {
    // Posted as any program can post them, though only the system should make them.
    const std::wstring what = argv[2];
    const UINT message = what == L"quit" ? WM_QUIT : what == L"destroy" ? WM_DESTROY : 0;
    if (message == 0) return Usage();
    const HWND main = MainWindow();
    return main != nullptr && ::PostMessageW(main, message, 0, 0) ? 0 : 1;
  }
  if (command == L"request" && argc == 4) {
    return Request(static_cast<WPARAM>(std::wcstoull(argv[2], nullptr, 0)), argv[3]);
  }
  if (command == L"wait-left" && argc == 4) {
    const bool down = std::wstring(argv[2]) == L"down";
    const bool reached =
        WaitFor(std::wcstod(argv[3], nullptr), [&] { return LeftButtonDown() == down; });
    Print(LeftButtonDown() ? L"down" : L"up");
    return reached ? 0 : 1;
  }
  if (command == L"wait-no-tray-icon" && argc == 3) {
    return WaitFor(std::wcstod(argv[2], nullptr), [] { return !TrayIconPresent(); }) ? 0 : 1;
  }
  return Usage();
}
