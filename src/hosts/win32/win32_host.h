#pragma once
// The real program's host: creates the main window (its start-up runs inside the creation)
// and the hidden settings dialog from the form models, runs every handler under the
// application's guard, and after each one brings the controls, the menu and the timers in
// line with the models.
#include <functional>
#include <memory>

#include "app/application.h"
#include "hosts/win32/control_sync.h"
#include "hosts/win32/form_style.h"
#include "hosts/win32/host_timers.h"
#include "hosts/win32/tray_menu.h"
#include "platform/platform.h"
#include "platform/win32/unique_handles.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_devices.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_vendor_usb.h"

namespace raz::win32 {

class Win32Host {
 public:
  explicit Win32Host(HINSTANCE instance);
  Win32Host(const Win32Host&) = delete;
  Win32Host& operator=(const Win32Host&) = delete;
  ~Win32Host();

  // False when the main window could not be created.
  bool Start();
  // The message loop, until the main window is gone; a WM_QUIT from elsewhere closes it first.
  int Run();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMainMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnDialogMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  void RegisterClasses();
  void MakeFont();
  void OnMainCreate(HWND window);
  void OnMainDestroy();
  bool CreateDialogWindow();
  void OnDialogCreate(HWND window);
  void OnDialogCommand(int controlId);
  void ShowRequestedMenu();
  // Runs a command of the app's table as a handler; nothing for null.
  void RunCommand(const FormCommand* command);
  void OnMainCommand(WPARAM wParam, LPARAM lParam);
  bool OnKeyDown(const MSG& msg);
  void OnTimer(UINT_PTR timerId);
  void RunTimer(TimerId id);

  // Runs one handler: guarded, then the models are synced and any error shown.
  void Run(const std::function<void()>& handler);
  void AfterHandler();
  void ShowErrors();
  void CloseIfRequested();

  HINSTANCE instance_;
  Win32Files files_;
  Win32Profile profile_;
  Win32Display display_;
  Win32VendorUsb usb_;
  Win32MouseOutput mouse_;
  Win32Messenger messenger_;
  Win32Shell shell_;
  Win32Clock clock_;
  Platform platform_;
  Application app_;
  std::unique_ptr<TrayMenu> menu_;

  UniqueGdiObject font_;
  HostTimers timers_;
  ControlSync controls1_;
  ControlSync controls2_;
  FormStyle style1_;
  FormStyle style2_;
  WindowSync window1_;
  WindowSync window2_;
  UINT taskbarCreated_ = 0;
  bool showingErrors_ = false;
  // The host is destroying its windows: only then are WM_DESTROY and WM_NCDESTROY real.
  bool closing_ = false;
  // PopupMenu1 is up: the owner-drawn items' messages are the menu's.
  bool menuShown_ = false;
  // Last, so that the windows go before the models their procedures use.
  UniqueWindow dialog_;
  UniqueWindow main_;
};

}  // namespace raz::win32
