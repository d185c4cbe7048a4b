#include "platform/win32/win32_shell.h"

#include <algorithm>
#include <iterator>
#include <memory>

#include <knownfolders.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/win32/utf.h"

namespace raz::win32 {
namespace {

struct CoTaskMemDeleter {
  void operator()(ITEMIDLIST* list) const { ::CoTaskMemFree(list); }
};
using UniqueItemList = std::unique_ptr<ITEMIDLIST, CoTaskMemDeleter>;

struct CoTaskStringDeleter {
  void operator()(wchar_t* text) const { ::CoTaskMemFree(text); }
};
using UniqueCoTaskString = std::unique_ptr<wchar_t, CoTaskStringDeleter>;

// One reference to a COM object, released with the owner.
template <typename Interface>
class ComRef {
 public:
  ComRef() = default;
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef() {
    if (object_ != nullptr) object_->Release();
  }
  Interface* operator->() const { return object_; }
  void** OutVoid() { return reinterpret_cast<void**>(&object_); }

 private:
  Interface* object_ = nullptr;
};

// COM for the calling thread, for as long as the scope lasts. A thread that already runs COM
// in another mode keeps it; shell links work in either.
class ComScope {
 public:
  ComScope() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }

 private:
  HRESULT result_;
};

std::string WithoutTrailingSeparator(std::wstring folder) {
  while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  return Narrow(folder);
}

DWORD ToNotifyMessage(TrayOperation operation) {
  switch (operation) {
    case TrayOperation::Add: return NIM_ADD;
    case TrayOperation::Modify: return NIM_MODIFY;
    case TrayOperation::Delete: return NIM_DELETE;
  }
  return NIM_MODIFY;
}

}  // namespace

bool Win32Shell::NotifyIcon(TrayOperation operation, const TrayIconRecord& record) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = window_;
  data.uID = record.id;
  data.uFlags = record.flags;
  data.uCallbackMessage = record.callbackMessage;
  data.hIcon = icons_.For(record.icon);
  const std::wstring tip = Widen(record.tip);
  // The record's tip fits the 64 characters of the oldest form; the field holds more.
  tip.copy(data.szTip, std::min<std::size_t>(tip.size(), std::size(data.szTip) - 1));
  return ::Shell_NotifyIconW(ToNotifyMessage(operation), &data) != 0;
}

std::optional<ScreenPoint> Win32Shell::CursorPosition() {
  POINT point{};
  if (!::GetCursorPos(&point)) return std::nullopt;
  return ScreenPoint{point.x, point.y};
}

void Win32Shell::SetForeground() { ::SetForegroundWindow(window_); }

std::optional<std::string> Win32Shell::ProgramsFolder() {
  ITEMIDLIST* raw = nullptr;
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_PROGRAMS, &raw)) || raw == nullptr) {
    return std::nullopt;
  }
  const UniqueItemList list(raw);
  wchar_t path[MAX_PATH] = {};
  if (!::SHGetPathFromIDListW(list.get(), path)) return std::nullopt;
  return WithoutTrailingSeparator(path);
}

// The known folder, not Programs + a name: the Startup folder's name on disk differs from the
// one Explorer shows, and both depend on the system's language.
std::optional<std::string> Win32Shell::StartupFolder() {
  wchar_t* raw = nullptr;
  const HRESULT result = ::SHGetKnownFolderPath(FOLDERID_Startup, 0, nullptr, &raw);
  const UniqueCoTaskString path(raw);  // freed whether or not the call succeeded
  if (FAILED(result) || path == nullptr) return std::nullopt;
  return WithoutTrailingSeparator(path.get());
}

bool Win32Shell::CreateShortcut(const Shortcut& shortcut) {
  const ComScope com;
  ComRef<IShellLinkW> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.OutVoid()))) {
    return false;
  }
  if (FAILED(link->SetPath(Widen(shortcut.Target).c_str())) ||
      FAILED(link->SetWorkingDirectory(Widen(shortcut.WorkingFolder).c_str()))) {
    return false;
  }
  ComRef<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.OutVoid()))) return false;
  return SUCCEEDED(file->Save(Widen(shortcut.LinkPath).c_str(), TRUE));
}

}  // namespace raz::win32
