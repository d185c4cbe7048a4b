#include "hosts/win32/win32_host.h"

#include <cwchar>
#include <utility>

#include "app/timer_watch.h"
#include "app/window_messages.h"
#include "hosts/win32/control_ids.h"
#include "hosts/win32/image_view.h"
#include "hosts/win32/message_loop.h"
#include "platform/win32/utf.h"
#include "shell/tray.h"
#include "vkeys/key_actions.h"

namespace raz::win32 {
namespace {

struct WindowTag {
  Win32Host* host = nullptr;
  bool dialog = false;
};

constexpr LONG_PTR kDialogBit = 1;

// True for a message another thread sent with SendMessage: another program's, as this program
// sends its windows nothing from other threads. The system marshals the records that the
// system's own messages point to, so such a message looks real; only what it carries is not
// this program's.
bool SentFromElsewhere() { return (::InSendMessageEx(nullptr) & ISMEX_SEND) != 0; }

// Both windows share one procedure. The host travels in the creation parameters and is kept in
// the window's user data, its lowest bit (a host is aligned) marking the dialog. Only the
// creation this thread makes may set it, once: another program can send WM_NCCREATE to the
// live window at any time, with any address as its parameter. False for such a message.
bool AdoptCreation(HWND window, LPARAM lParam) {
  if (::GetWindowLongPtrW(window, GWLP_USERDATA) != 0 || SentFromElsewhere()) return false;
  const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
  LONG_PTR value = reinterpret_cast<LONG_PTR>(create->lpCreateParams);
  if (std::wcscmp(create->lpszClass, kDialogWindowClass) == 0) value |= kDialogBit;
  ::SetWindowLongPtrW(window, GWLP_USERDATA, value);
  return true;
}

WindowTag TagOf(HWND window) {
  const LONG_PTR value = ::GetWindowLongPtrW(window, GWLP_USERDATA);
  return {reinterpret_cast<Win32Host*>(value & ~kDialogBit), (value & kDialogBit) != 0};
}

// A button's notification names the button itself; one naming any other window, or none of
// this form's buttons, is not from a click here.
bool FromOwnButton(HWND form, WPARAM wParam, LPARAM lParam) {
  return HIWORD(wParam) == BN_CLICKED && lParam != 0 &&
         ::GetDlgItem(form, LOWORD(wParam)) == reinterpret_cast<HWND>(lParam);
}

SIZE WindowSizeFor(int clientWidth, int clientHeight, DWORD style, DWORD exStyle) {
  RECT r{0, 0, clientWidth, clientHeight};
  ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// A borderless window without a caption bar; topmost, and a tool window so that it gets no
// taskbar button.
constexpr DWORD kMainStyle = WS_POPUP | WS_CLIPCHILDREN;
constexpr DWORD kMainExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
// Not clipping its children: a group box paints only its frame, the dialog paints behind it.
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kDialogExStyle = WS_EX_TOPMOST | WS_EX_DLGMODALFRAME;

}  // namespace

Win32Host::Win32Host(HINSTANCE instance)
    : instance_(instance),
      usb_(files_.ProgramFolder() + kVendorLibraryName),
      platform_{files_, profile_, display_, usb_, mouse_, messenger_, shell_, clock_},
      app_(platform_) {}

// Windows still there go with their owners below: their destruction is this host's own.
Win32Host::~Win32Host() { closing_ = true; }

void Win32Host::RegisterClasses() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.hInstance = instance_;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpfnWndProc = WindowProc;
  wc.lpszClassName = kMainWindowClass;
  ::RegisterClassExW(&wc);
  wc.lpszClassName = kDialogWindowClass;
  ::RegisterClassExW(&wc);
  RegisterImageViewClass(instance_);
}

void Win32Host::MakeFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    font_.Reset(::CreateFontIndirectW(&metrics.lfMessageFont));
  }
}

bool Win32Host::Start() {
  RegisterClasses();
  MakeFont();
  taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");

  const FormWindow& w = app_.form1().Window;
  const SIZE size = WindowSizeFor(w.ClientWidth, w.ClientHeight, kMainStyle, kMainExStyle);
  // The start-up runs inside this call (WM_CREATE), as the form's OnCreate does.
  const HWND main =
      ::CreateWindowExW(kMainExStyle, kMainWindowClass, Widen(w.Caption).c_str(), kMainStyle,
                        w.Left, w.Top, size.cx, size.cy, nullptr, nullptr, instance_, this);
  if (main == nullptr) return false;
  CreateDialogWindow();

  // The main window is shown at its place off-screen; it comes forward only for calibration.
  app_.form1().Window.Visible = true;
  AfterHandler();
  return main_.Get() != nullptr;
}

int Win32Host::Run() {
  if (!main_) return 0;
  const int code = RunMessageLoop(
      timers_.Precise(), [this] { RunTimer(TimerId::Timer1); },
      [this](const MSG& msg) { return OnKeyDown(msg); });
  // A WM_QUIT that the window's destruction did not post (another program's) ends the loop
  // with the window still there: the program leaves the exit command's way, letting go of a
  // held button and removing the tray icon, as from every other way out.
  if (main_ && !closing_) Run([this] { app_.form1().N3Click(); });
  return code;
}

void Win32Host::OnMainCreate(HWND window) {
  main_.Reset(window);
  shell_.AttachWindow(window);
  timers_.Attach(window);
  window1_.Attach(window, app_.form1().Window);
  style1_.Create(app_.form1().Window, BindForm1(app_.form1()));
  controls1_.Create(window, static_cast<HFONT>(font_.Get()), BindForm1(app_.form1()), style1_);
  menu_ = std::make_unique<TrayMenu>(app_.form1());
  Run([this] { app_.StartMainWindow(); });
}

bool Win32Host::CreateDialogWindow() {
  const FormWindow& w = app_.form2().Window;
  const SIZE size = WindowSizeFor(w.ClientWidth, w.ClientHeight, kDialogStyle, kDialogExStyle);
  return ::CreateWindowExW(kDialogExStyle, kDialogWindowClass, Widen(w.Caption).c_str(),
                           kDialogStyle, w.Left, w.Top, size.cx, size.cy, main_.Get(), nullptr,
                           instance_, this) != nullptr;
}

void Win32Host::OnDialogCreate(HWND window) {
  dialog_.Reset(window);
  window2_.Attach(window, app_.form2().Window);
  style2_.Create(app_.form2().Window, BindForm2(app_.form2()));
  const HFONT font = style2_.Font() ? style2_.Font() : static_cast<HFONT>(font_.Get());
  controls2_.Create(window, font, BindForm2(app_.form2()), style2_);
  Run([this] { app_.StartSettingsDialog(); });
}

void Win32Host::OnMainDestroy() {
  app_.Run([this] { app_.form1().FormDestroy(); });
  controls1_.Forget();
  main_.Release();
  ::PostQuitMessage(0);
  ShowErrors();
}

LRESULT CALLBACK Win32Host::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Not handed to the default handling either: it would take the window's caption from it.
  if (message == WM_NCCREATE && !AdoptCreation(window, lParam)) return FALSE;
  const WindowTag tag = TagOf(window);
  if (tag.host == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  if (tag.dialog) return tag.host->OnDialogMessage(window, message, wParam, lParam);
  return tag.host->OnMainMessage(window, message, wParam, lParam);
}

LRESULT Win32Host::OnMainMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      if (!main_ && !SentFromElsewhere()) OnMainCreate(window);
      return 0;
    // The system sends these only while the host destroys the window. Another program that
    // posts WM_DESTROY wants the program gone: it goes the exit command's way, which lets go
    // of a held button and removes the tray icon, rather than having the state torn down under
    // a window that lives on. Ignoring it would leave that program waiting for an end that
    // never comes.
    case WM_DESTROY:
      if (closing_) {
        OnMainDestroy();
      } else {
        Run([this] { app_.form1().N3Click(); });
      }
      return 0;
    // The default handling would drop the window's caption, by which clients find it.
    case WM_NCDESTROY:
      if (!closing_) return 0;
      break;
    // Every way of closing the main window goes through the exit command.
    case WM_CLOSE:
      Run([this] { app_.form1().N3Click(); });
      return 0;
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    // A monitor came, went or changed: the board's monitor is found again now rather than at
    // the next device watch. From anywhere it does no harm: the displays are only read.
    case WM_DISPLAYCHANGE:
      Run([this] { app_.form1().DisplayChanged(); });
      break;
    case WM_COMMAND:
      OnMainCommand(wParam, lParam);
      return 0;
    // Only the menu this host shows draws through the window; what another program sends
    // meanwhile is the system's marshalled copy of its record, harmless to read.
    case WM_MEASUREITEM:
      if (!menuShown_ || lParam == 0) return 0;
      if (menu_->MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_DRAWITEM:
      if (!menuShown_ || lParam == 0) return 0;
      if (menu_->DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
      break;
    // The calibration surface's texts: the prompts in their colours on white. Only the
    // system's own request, from this thread, carries a device context of ours.
    case WM_CTLCOLORSTATIC:
      if (SentFromElsewhere()) break;
      if (const HBRUSH brush = style1_.ControlColour(reinterpret_cast<HDC>(wParam),
                                                     reinterpret_cast<HWND>(lParam))) {
        return reinterpret_cast<LRESULT>(brush);
      }
      break;
    default:
      break;
  }
  if (IsMainWindowMessage(message)) {
    std::optional<std::intptr_t> result;
    Run([&] { result = app_.form1().WindowMessage(message, wParam, lParam); });
    ShowRequestedMenu();
    if (result) return static_cast<LRESULT>(*result);
  } else if (message == taskbarCreated_ && taskbarCreated_ != 0) {
    // The notification area was made anew (Explorer restarted): the icon has to come back.
    Run([this] { app_.form1().TaskbarCreated(); });
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Win32Host::OnDialogMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      if (!dialog_ && !SentFromElsewhere()) OnDialogCreate(window);
      return 0;
    // Only while the host destroys the window (see the main window's).
    case WM_DESTROY:
      if (!closing_) return 0;
      break;
    case WM_NCDESTROY:
      if (!closing_) return 0;
      controls2_.Forget();
      dialog_.Release();
      break;
    case WM_COMMAND:
      if (FromOwnButton(window, wParam, lParam)) OnDialogCommand(LOWORD(wParam));
      return 0;
    // The system paints this thread's windows on this thread; a device context or control
    // sent from elsewhere is not one of them.
    case WM_ERASEBKGND:
      if (SentFromElsewhere()) return 0;
      if (style2_.PaintBackground(window, reinterpret_cast<HDC>(wParam))) return 1;
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (SentFromElsewhere() || !::IsChild(window, reinterpret_cast<HWND>(lParam))) return 0;
      if (const HBRUSH brush = style2_.ControlColour(reinterpret_cast<HDC>(wParam),
                                                     reinterpret_cast<HWND>(lParam))) {
        return reinterpret_cast<LRESULT>(brush);
      }
      break;
    // Closing the dialog only hides it; it lives as long as the main window.
    case WM_CLOSE:
      app_.form2().Window.Visible = false;
      AfterHandler();
      return 0;
    case WM_ENTERSIZEMOVE:
      timers_.EnterModal();
      break;
    case WM_EXITSIZEMOVE:
      timers_.LeaveModal();
      break;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void Win32Host::OnDialogCommand(int controlId) {
  if (controlId == Form2Id::Button1) {
    Run([this] { app_.form2().Button1Click(); });
  } else if (controlId == Form2Id::Button2) {
    Run([this] { app_.form2().Button2Click(); });
  } else if (controls2_.RecordRadioClick(controlId)) {
    AfterHandler();
  }
}

// The handler has brought the main window to the foreground already; the menu runs its own
// modal loop, so the timers keep ticking through their stand-in.
void Win32Host::ShowRequestedMenu() {
  PopupMenu& popup = app_.form1().PopupMenu1;
  if (!popup.PopupRequested || !menu_ || !main_) return;
  popup.PopupRequested = false;
  int command = 0;
  {
    const ModalScope modal(timers_);
    menuShown_ = true;
    command = menu_->Popup(main_.Get(), POINT{popup.PopupX, popup.PopupY});
    menuShown_ = false;
  }
  RunCommand(TrayMenu::CommandOf(command));
}

void Win32Host::RunCommand(const FormCommand* command) {
  if (command != nullptr) Run([this, command] { command->run(app_.form1()); });
}

// The calibration surface's two buttons, and menu commands that arrive as WM_COMMAND (from
// another program, or a menu shown without TPM_RETURNCMD) rather than through the popup.
void Win32Host::OnMainCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  if (lParam != 0) {
    if (!FromOwnButton(main_.Get(), wParam, lParam)) return;
    // The buttons' commands are in the app's command table, by the buttons' names.
    constexpr std::pair<int, const char*> kButtons[] = {{Form1Id::button1, "button1"},
                                                        {Form1Id::Button3, "Button3"},
                                                        {Form1Id::Button4, "Button4"},
                                                        {Form1Id::Button5, "Button5"}};
    for (const auto& [buttonId, name] : kButtons) {
      if (id == buttonId) RunCommand(FindFormCommand(name));
    }
    return;
  }
  RunCommand(TrayMenu::CommandOf(id));
}

// Esc on the main window or any of its controls (a clicked button keeps the focus).
bool Win32Host::OnKeyDown(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || !main_) return false;
  if (msg.hwnd != main_.Get() && !::IsChild(main_.Get(), msg.hwnd)) return false;
  if (msg.wParam != VK_ESCAPE) return false;
  Run([this] { app_.form1().FormKeyDown(kEscapeKey); });
  return true;
}

void Win32Host::OnTimer(UINT_PTR timerId) {
  if (const auto id = timers_.FromTimerMessage(timerId)) RunTimer(*id);
}

void Win32Host::RunTimer(TimerId id) {
  if (closing_) return;
  Run([this, id] { FireTimer(app_.form1(), id); });
}

void Win32Host::Run(const std::function<void()>& handler) {
  app_.Run(handler);
  AfterHandler();
  ShowErrors();
}

void Win32Host::AfterHandler() {
  if (closing_ || !main_) return;
  TForm1& form1 = app_.form1();
  TForm2& form2 = app_.form2();
  controls1_.Sync();
  window1_.Sync(form1.Window);
  if (menu_) menu_->Sync();
  if (dialog_) {
    // The dialog's OnShow runs as it becomes visible, before it appears.
    const bool showing = window2_.ShowPending(form2.Window);
    if (showing) app_.Run([&form2] { form2.FormShow(); });
    controls2_.Sync();
    window2_.Sync(form2.Window);
    // Shown from the tray, it must take the keyboard and come in front of the user's work.
    if (showing) ::SetForegroundWindow(dialog_.Get());
  }
  timers_.Sync(form1);
  CloseIfRequested();
}

void Win32Host::ShowErrors() {
  // One box at a time: an error raised while a box is up waits for it to close.
  if (showingErrors_) return;
  showingErrors_ = true;
  const ModalScope modal(timers_);
  for (auto errors = app_.TakeErrors(); !errors.empty(); errors = app_.TakeErrors()) {
    for (const std::string& error : errors) {
      // No owner: the main window sits off-screen and would take the box with it.
      ::MessageBoxW(nullptr, Widen(error).c_str(), kMainWindowCaption,
                    MB_OK | MB_ICONERROR | MB_TOPMOST | MB_SETFOREGROUND);
    }
  }
  showingErrors_ = false;
}

void Win32Host::CloseIfRequested() {
  if (closing_ || !app_.form1().Window.CloseRequested) return;
  closing_ = true;
  timers_.StopAll();
  if (dialog_) ::DestroyWindow(dialog_.Get());
  // Destroying the main window runs FormDestroy and ends the message loop.
  if (main_) ::DestroyWindow(main_.Get());
}

}  // namespace raz::win32
