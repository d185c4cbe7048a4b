#include "platform/win32/win32_host.h"

#include <exception>

#include "app/timer_watch.h"
#include "platform/win32/control_ids.h"
#include "platform/win32/image_view.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/utf.h"
#include "shell/tray.h"
#include "storage/data_files.h"
#include "storage/settings.h"

namespace raz::win32 {
namespace {

template <typename Host>
Host* HostOf(HWND window, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  return reinterpret_cast<Host*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
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
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kDialogExStyle = WS_EX_TOPMOST | WS_EX_DLGMODALFRAME;

}  // namespace

Win32Host::Win32Host(HINSTANCE instance)
    : instance_(instance),
      usb_(files_.ProgramFolder() + kVendorLibraryName),
      platform_{files_, profile_, display_, usb_, mouse_, messenger_, shell_} {}

Win32Host::~Win32Host() = default;

void Win32Host::RegisterClasses() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.hInstance = instance_;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpfnWndProc = MainProc;
  wc.lpszClassName = kMainWindowClass;
  ::RegisterClassExW(&wc);
  wc.lpfnWndProc = DialogProc;
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
  state_ = std::make_unique<DriverState>();
  form1_ = std::make_unique<TForm1>(*state_, platform_);

  const FormWindow& w = form1_->Window;
  const SIZE size = WindowSizeFor(w.ClientWidth, w.ClientHeight, kMainStyle, kMainExStyle);
  // The start-up runs inside this call (WM_CREATE), as the form's OnCreate does.
  const HWND main = ::CreateWindowExW(kMainExStyle, kMainWindowClass, Widen(w.Caption).c_str(),
                                      kMainStyle, w.Left, w.Top, size.cx, size.cy, nullptr,
                                      nullptr, instance_, this);
  if (main == nullptr) return false;

  form2_ = std::make_unique<TForm2>(*form1_, profile_, ProgramFile(files_, kSettingsFileName));
  form1_->AttachDialog(*form2_);
  CreateDialogWindow();

  // The main window is shown at its place off-screen; it comes forward only for calibration.
  form1_->Window.Visible = true;
  AfterHandler();
  return main_.Get() != nullptr;
}

int Win32Host::Run() {
  if (!main_) return 0;
  return RunMessageLoop(timers_.Precise(), [this] { RunTimer(TimerId::Timer1); });
}

void Win32Host::OnMainCreate(HWND window) {
  main_.Reset(window);
  shell_.AttachWindow(window);
  timers_.Attach(window);
  window1_.Attach(window, form1_->Window);
  controls1_.Create(window, static_cast<HFONT>(font_.Get()), BindForm1(*form1_));
  menu_ = std::make_unique<TrayMenu>(*form1_);
  Run([this] { form1_->FormCreate(); });
}

bool Win32Host::CreateDialogWindow() {
  const FormWindow& w = form2_->Window;
  const SIZE size = WindowSizeFor(w.ClientWidth, w.ClientHeight, kDialogStyle, kDialogExStyle);
  return ::CreateWindowExW(kDialogExStyle, kDialogWindowClass, Widen(w.Caption).c_str(),
                           kDialogStyle, w.Left, w.Top, size.cx, size.cy, main_.Get(), nullptr,
                           instance_, this) != nullptr;
}

void Win32Host::OnDialogCreate(HWND window) {
  dialog_.Reset(window);
  window2_.Attach(window, form2_->Window);
  controls2_.Create(window, static_cast<HFONT>(font_.Get()), BindForm2(*form2_));
  Run([this] { form2_->FormCreate(); });
}

void Win32Host::OnMainDestroy() {
  Guarded([this] { form1_->FormDestroy(); });
  controls1_.Forget();
  main_.Release();
  ::PostQuitMessage(0);
  ShowErrors();
}

LRESULT CALLBACK Win32Host::MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Win32Host* host = HostOf<Win32Host>(window, message, lParam);
  if (host == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  return host->OnMainMessage(window, message, wParam, lParam);
}

LRESULT Win32Host::OnMainMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: OnMainCreate(window); return 0;
    case WM_DESTROY: OnMainDestroy(); return 0;
    // Every way of closing the main window goes through the exit command.
    case WM_CLOSE: Run([this] { form1_->N3Click(); }); return 0;
    case WM_TIMER: OnTimer(wParam); return 0;
    default: break;
  }
  if (message == kTrayCallbackMessage) {
    OnTrayCallback(lParam);
  } else if (message == taskbarCreated_ && taskbarCreated_ != 0) {
    // The notification area was re-created (Explorer restarted): put the icon back.
    TrayMessage(*form1_, TrayOperation::Add);
    TrayMessage(*form1_, TrayOperation::Modify);
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK Win32Host::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Win32Host* host = HostOf<Win32Host>(window, message, lParam);
  if (host == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  return host->OnDialogMessage(window, message, wParam, lParam);
}

LRESULT Win32Host::OnDialogMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: OnDialogCreate(window); return 0;
    case WM_NCDESTROY:
      controls2_.Forget();
      dialog_.Release();
      break;
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) OnDialogCommand(LOWORD(wParam));
      return 0;
    // Closing the dialog only hides it; it lives as long as the main window.
    case WM_CLOSE:
      form2_->Window.Visible = false;
      AfterHandler();
      return 0;
    case WM_ENTERSIZEMOVE: timers_.EnterModal(); break;
    case WM_EXITSIZEMOVE: timers_.LeaveModal(); break;
    default: break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void Win32Host::OnDialogCommand(int controlId) {
  if (controlId == Form2Id::Button1) {
    Run([this] { form2_->Button1Click(); });
  } else if (controlId == Form2Id::Button2) {
    Run([this] { form2_->Button2Click(); });
  } else if (controls2_.RecordRadioClick(controlId)) {
    AfterHandler();
  }
}

void Win32Host::OnTrayCallback(LPARAM mouseMessage) {
  if (static_cast<UINT>(mouseMessage) != WM_LBUTTONUP) return;
  const auto cursor = shell_.CursorPosition();
  if (!cursor) {
    form1_->Window.Visible = true;
    AfterHandler();
    return;
  }
  // Foreground first, or the menu would not close when the user clicks elsewhere.
  shell_.SetForeground();
  int command = 0;
  {
    const ModalScope modal(timers_);
    command = menu_->Popup(main_.Get(), POINT{cursor->x, cursor->y});
  }
  if (const MenuHandler handler = TrayMenu::HandlerOf(command)) {
    Run([this, handler] { (form1_.get()->*handler)(); });
  }
}

void Win32Host::OnTimer(UINT_PTR timerId) {
  if (const auto id = timers_.FromTimerMessage(timerId)) RunTimer(*id);
}

void Win32Host::RunTimer(TimerId id) {
  if (closing_) return;
  Run([this, id] { FireTimer(*form1_, id); });
}

void Win32Host::Run(const std::function<void()>& handler) {
  Guarded(handler);
  AfterHandler();
  ShowErrors();
}

void Win32Host::Guarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    errors_.emplace_back(e.what());
  } catch (...) {
    errors_.emplace_back("Unknown error");
  }
}

void Win32Host::AfterHandler() {
  if (closing_ || !main_) return;
  controls1_.Sync();
  window1_.Sync(form1_->Window);
  if (menu_) menu_->Sync();
  if (dialog_) {
    // The dialog's OnShow runs as it becomes visible, before it appears.
    if (window2_.ShowPending(form2_->Window)) Guarded([this] { form2_->FormShow(); });
    controls2_.Sync();
    window2_.Sync(form2_->Window);
  }
  timers_.Sync(*form1_);
  CloseIfRequested();
}

void Win32Host::ShowErrors() {
  // One box at a time: an error raised while a box is up waits for it to close.
  if (showingErrors_ || errors_.empty()) return;
  showingErrors_ = true;
  const ModalScope modal(timers_);
  while (!errors_.empty()) {
    const std::wstring text = Widen(errors_.front());
    errors_.pop_front();
    // No owner: the main window sits off-screen and would take the box with it.
    ::MessageBoxW(nullptr, text.c_str(), kMainWindowCaption,
                  MB_OK | MB_ICONERROR | MB_TOPMOST | MB_SETFOREGROUND);
  }
  showingErrors_ = false;
}

void Win32Host::CloseIfRequested() {
  if (closing_ || !form1_->Window.CloseRequested) return;
  closing_ = true;
  timers_.StopAll();
  if (dialog_) ::DestroyWindow(dialog_.Get());
  // Destroying the main window runs FormDestroy and ends the message loop.
  if (main_) ::DestroyWindow(main_.Get());
}

}  // namespace raz::win32
