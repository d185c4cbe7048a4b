#include "hosts/win32/control_sync.h"

#include <algorithm>

#include "hosts/win32/image_view.h"
#include "platform/win32/utf.h"

namespace raz::win32 {
namespace {

// Redrawing the screen-sized image more often than a display refreshes gains nothing.
constexpr std::uint64_t kImageCheckMs = 30;

std::wstring TextOf(const ControlBinding& binding) {
  switch (binding.kind) {
    case ControlKind::Memo: {
      std::string joined;
      for (const std::string& line : static_cast<const Memo*>(binding.model)->Lines) {
        if (!joined.empty()) joined += "\r\n";
        joined += line;
      }
      return Widen(joined);
    }
    case ControlKind::Edit: return Widen(static_cast<const Edit*>(binding.model)->Text);
    case ControlKind::Image: return {};
    default: return Widen(binding.model->Caption);
  }
}

struct ClassAndStyle {
  const wchar_t* className;
  DWORD style;
};

ClassAndStyle WindowKind(ControlKind kind) {
  switch (kind) {
    case ControlKind::Label: return {L"STATIC", SS_LEFT | SS_NOPREFIX};
    case ControlKind::Button: return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP};
    case ControlKind::Memo:
      return {L"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER};
    case ControlKind::Edit: return {L"EDIT", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP};
    // Radio checks follow the models, which the host updates on a click; the system's own
    // grouping of automatic radio buttons is not wanted.
    case ControlKind::RadioButton: return {L"BUTTON", BS_RADIOBUTTON | WS_TABSTOP};
    case ControlKind::RadioGroup: return {L"BUTTON", BS_GROUPBOX};
    case ControlKind::Image: break;
  }
  return {L"STATIC", 0};
}

HWND CreateChild(HWND parent, HFONT font, const wchar_t* className, DWORD style,
                 const std::wstring& text, int id, int left, int top, int width, int height) {
  const HWND window = ::CreateWindowExW(
      0, className, text.c_str(), WS_CHILD | WS_CLIPSIBLINGS | style, left, top, width, height,
      parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
  if (window != nullptr && font != nullptr) {
    ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  return window;
}

// A radio group's items share its box evenly below its caption, each as tall as its text.
RECT ItemRect(const Control& group, std::size_t index, std::size_t count, int textHeight) {
  const int captionHeight = std::max(18, textHeight + 4);
  const int itemHeight = std::max(20, textHeight + 4);
  const int inner = std::max(group.Height - captionHeight - 6, 0);
  const int step = count == 0 ? 0 : inner / static_cast<int>(count);
  const int top = group.Top + captionHeight + step * static_cast<int>(index);
  return RECT{group.Left + 8, top, group.Left + group.Width - 8, top + std::min(step, itemHeight)};
}

int TextHeightOf(HWND window, HFONT font) {
  const HDC dc = ::GetDC(window);
  if (dc == nullptr) return 0;
  const HGDIOBJ old = font != nullptr ? ::SelectObject(dc, font) : nullptr;
  TEXTMETRICW metrics{};
  const int height = ::GetTextMetricsW(dc, &metrics) ? metrics.tmHeight : 0;
  if (old != nullptr) ::SelectObject(dc, old);
  ::ReleaseDC(window, dc);
  return height;
}

}  // namespace

void ControlSync::Create(HWND parent, HFONT font, std::vector<ControlBinding> bindings,
                         const FormStyle& style) {
  parent_ = parent;
  font_ = font;
  style_ = &style;
  textHeight_ = TextHeightOf(parent, font);
  entries_.clear();
  for (const ControlBinding& binding : bindings) {
    entries_.push_back(Entry{binding, nullptr, {}, {}});
  }
  for (Entry& entry : entries_) {
    CreateWindowFor(entry);
    SyncEntry(entry, true);
  }
  PutBackgroundsBehind();
}

// Children created later go below the earlier ones, and every control clips its siblings: an
// image (a form's surface) or a group box (a frame around radio buttons) would hide the
// controls on it. They go under every other control once all exist.
void ControlSync::PutBackgroundsBehind() {
  for (const Entry& entry : entries_) {
    const ControlKind kind = entry.binding.kind;
    if ((kind != ControlKind::Image && kind != ControlKind::RadioGroup) || !entry.window) continue;
    ::SetWindowPos(entry.window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void ControlSync::CreateWindowFor(Entry& entry) {
  const ControlBinding& b = entry.binding;
  const Control& m = *b.model;
  if (b.kind == ControlKind::Image) {
    entry.window = CreateImageView(parent_, b.id, static_cast<const Image&>(m));
    return;
  }
  const ClassAndStyle kind = WindowKind(b.kind);
  const HFONT own = style_->FontOf(b.id);
  entry.window = CreateChild(parent_, own != nullptr ? own : font_, kind.className, kind.style,
                             TextOf(b), b.id, m.Left, m.Top, m.Width, m.Height);
}

void ControlSync::Sync() {
  for (Entry& entry : entries_) SyncEntry(entry, false);
}

void ControlSync::SyncEntry(Entry& entry, bool initial) {
  const Control& m = *entry.binding.model;
  Applied& a = entry.applied;
  const HWND w = entry.window;
  if (w == nullptr) return;

  if (entry.binding.kind != ControlKind::Image) {
    std::wstring text = TextOf(entry.binding);
    if (initial || text != a.text) {
      ::SetWindowTextW(w, text.c_str());
      a.text = std::move(text);
    }
  }
  if (initial || m.Left != a.left || m.Top != a.top || m.Width != a.width ||
      m.Height != a.height) {
    ::SetWindowPos(w, nullptr, m.Left, m.Top, m.Width, m.Height, SWP_NOZORDER | SWP_NOACTIVATE);
    a.left = m.Left;
    a.top = m.Top;
    a.width = m.Width;
    a.height = m.Height;
  }
  if (initial || m.Enabled != a.enabled) {
    ::EnableWindow(w, m.Enabled ? TRUE : FALSE);
    a.enabled = m.Enabled;
  }
  if (entry.binding.kind == ControlKind::RadioButton) {
    const bool checked = static_cast<const RadioButton&>(m).Checked;
    if (initial || checked != a.checked) {
      ::SendMessageW(w, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
      a.checked = checked;
    }
  }
  if (entry.binding.kind == ControlKind::RadioGroup) SyncItems(entry, initial);
  if (entry.binding.kind == ControlKind::Image) SyncPixels(entry);
  if (initial || m.Visible != a.visible) {
    ::ShowWindow(w, m.Visible ? SW_SHOWNA : SW_HIDE);
    for (HWND item : entry.items) ::ShowWindow(item, m.Visible ? SW_SHOWNA : SW_HIDE);
    a.visible = m.Visible;
  }
}

void ControlSync::SyncItems(Entry& entry, bool initial) {
  const auto& group = static_cast<const RadioGroup&>(*entry.binding.model);
  Applied& a = entry.applied;
  const bool moved = initial || group.Left != a.left || group.Top != a.top ||
                     group.Width != a.width || group.Height != a.height;
  if (initial || group.Items != a.items) {
    for (HWND item : entry.items) ::DestroyWindow(item);
    entry.items.clear();
    for (std::size_t i = 0; i < group.Items.size(); ++i) {
      const RECT r = ItemRect(group, i, group.Items.size(), textHeight_);
      const int id = entry.binding.id + 1 + static_cast<int>(i);
      const HWND item = CreateChild(parent_, font_, L"BUTTON", BS_RADIOBUTTON | WS_TABSTOP,
                                    Widen(group.Items[i]), id, r.left, r.top, r.right - r.left,
                                    r.bottom - r.top);
      if (group.Visible) ::ShowWindow(item, SW_SHOWNA);
      entry.items.push_back(item);
    }
    a.items = group.Items;
    a.itemIndex = -2;  // forces the checks below
    if (!initial) PutBackgroundsBehind();
  } else if (moved) {
    for (std::size_t i = 0; i < entry.items.size(); ++i) {
      const RECT r = ItemRect(group, i, entry.items.size(), textHeight_);
      ::SetWindowPos(entry.items[i], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  if (group.ItemIndex != a.itemIndex) {
    for (std::size_t i = 0; i < entry.items.size(); ++i) {
      const bool checked = static_cast<int>(i) == group.ItemIndex;
      ::SendMessageW(entry.items[i], BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    a.itemIndex = group.ItemIndex;
  }
}

void ControlSync::SyncPixels(Entry& entry) {
  const auto& image = static_cast<const Image&>(*entry.binding.model);
  Applied& a = entry.applied;
  if (image.Pixels.empty() && a.pixels.empty()) return;
  const std::uint64_t now = ::GetTickCount64();
  const bool sizeChanged = image.Pixels.size() != a.pixels.size();
  if (!sizeChanged && (!image.Visible || now - a.pixelsCheckedAt < kImageCheckMs)) return;
  a.pixelsCheckedAt = now;
  if (sizeChanged || !std::equal(image.Pixels.begin(), image.Pixels.end(), a.pixels.begin())) {
    a.pixels = image.Pixels;
    ::InvalidateRect(entry.window, nullptr, FALSE);
  }
}

bool ControlSync::RecordRadioClick(int controlId) {
  Entry* clicked = nullptr;
  for (Entry& entry : entries_) {
    const int id = entry.binding.id;
    if (entry.binding.kind == ControlKind::RadioButton && id == controlId) clicked = &entry;
    if (entry.binding.kind == ControlKind::RadioGroup && controlId > id &&
        controlId <= id + static_cast<int>(entry.items.size())) {
      static_cast<RadioGroup&>(*entry.binding.model).ItemIndex = controlId - id - 1;
      return true;
    }
  }
  if (clicked == nullptr) return false;
  // Radio buttons of one form exclude each other.
  for (Entry& entry : entries_) {
    if (entry.binding.kind == ControlKind::RadioButton) {
      static_cast<RadioButton&>(*entry.binding.model).Checked = &entry == clicked;
    }
  }
  return true;
}

void WindowSync::Attach(HWND window, const FormWindow& applied) {
  window_ = window;
  applied_ = applied;
}

void WindowSync::Sync(const FormWindow& model) {
  if (window_ == nullptr) return;
  if (model.Caption != applied_.Caption) ::SetWindowTextW(window_, Widen(model.Caption).c_str());
  const bool stateChanged = model.Visible != applied_.Visible || model.State != applied_.State;
  const bool moved = model.Visible && model.State == WindowState::Maximized &&
                     !(model.Cover == applied_.Cover);
  if (stateChanged || moved) {
    if (!model.Visible) {
      ::ShowWindow(window_, SW_HIDE);
    } else if (model.State == WindowState::Maximized) {
      // Laid over the whole monitor rather than maximised by the system: a borderless
      // window maximised stops at the work area on Windows, and Wine without a window manager
      // leaves its X window where it was.
      const ScreenRect& c = model.Cover;
      MONITORINFO monitor{};
      monitor.cbSize = sizeof(monitor);
      if (c.Width > 0 && c.Height > 0) {
        ::SetWindowPos(window_, nullptr, c.Left, c.Top, c.Width, c.Height,
                       SWP_NOZORDER | SWP_SHOWWINDOW);
      } else if (::GetMonitorInfoW(::MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY),
                                   &monitor)) {
        const RECT& r = monitor.rcMonitor;
        ::SetWindowPos(window_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOZORDER | SWP_SHOWWINDOW);
      }
      ::ShowWindow(window_, SW_SHOW);
    } else {
      ::ShowWindow(window_, applied_.State == WindowState::Maximized ? SW_RESTORE : SW_SHOWNA);
    }
  }
  const bool placed = model.Left != applied_.Left || model.Top != applied_.Top ||
                      model.ClientWidth != applied_.ClientWidth ||
                      model.ClientHeight != applied_.ClientHeight;
  // A maximised window keeps its normal place for later; it is applied once restored.
  const bool restored = model.State == WindowState::Normal && applied_.State != model.State;
  if ((placed || restored) && model.State == WindowState::Normal) {
    RECT r{0, 0, model.ClientWidth, model.ClientHeight};
    ::AdjustWindowRectEx(&r, static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_EXSTYLE)));
    ::SetWindowPos(window_, nullptr, model.Left, model.Top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
  applied_ = model;
}

}  // namespace raz::win32
