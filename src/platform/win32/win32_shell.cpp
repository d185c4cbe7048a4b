#include "platform/win32/win32_shell.h"

#include <algorithm>
#include <iterator>
#include <memory>

#include <shellapi.h>
#include <shlobj.h>

#include "platform/win32/utf.h"

namespace raz::win32 {
namespace {

struct CoTaskMemDeleter {
  void operator()(ITEMIDLIST* list) const { ::CoTaskMemFree(list); }
};
using UniqueItemList = std::unique_ptr<ITEMIDLIST, CoTaskMemDeleter>;

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
  std::wstring folder(path);
  while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  return Narrow(folder);
}

}  // namespace raz::win32
