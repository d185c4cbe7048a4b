#include "hosts/win32/tray_menu.h"

#include <uxtheme.h>

#include "app/form1.h"
#include "hosts/win32/control_ids.h"
#include "platform/win32/utf.h"
#include "shell/menu_bitmaps.h"

namespace raz::win32 {
namespace {

// The menu's items in menu order, each with its command id and the name of its command in the
// app's command table (FormCommands), which holds the handlers. No name: an item without a
// command of its own.
// The menu an item sits in: the pop-up menu itself, or the sub-menu of langer1 or of N9.
enum class In { Menu, Language, Screens };

struct MenuCommand {
  int id;
  MenuItem TForm1::*item;
  const char* command;
  In in;
};

constexpr std::array<MenuCommand, kMenuCommandCount> kCommands{{
    {MenuId::N1, &TForm1::N1, "N1", In::Menu},
    {MenuId::N6, &TForm1::N6, "N6", In::Menu},
    {MenuId::N2, &TForm1::N2, "N2", In::Menu},
    {MenuId::langer1, &TForm1::langer1, nullptr, In::Menu},
    {MenuId::N7, &TForm1::N7, "N7", In::Language},
    {MenuId::English1, &TForm1::English1, "English1", In::Language},
    {MenuId::N4, &TForm1::N4, "N4", In::Menu},
    {MenuId::N9, &TForm1::N9, nullptr, In::Menu},
    {MenuId::N10, &TForm1::N10, "N10", In::Screens},
    {MenuId::N8, &TForm1::N8, "N8", In::Menu},
    {MenuId::N5, &TForm1::N5, nullptr, In::Menu},
    {MenuId::N3, &TForm1::N3, "N3", In::Menu},
}};

bool IsSeparator(const MenuItem& item) { return item.Caption == "-"; }

// A 32-bit bitmap with premultiplied alpha: what themed menus blend onto their background,
// and what AlphaBlend takes when the host draws the picture itself.
UniqueGdiObject MakeItemBitmap(const std::vector<std::uint32_t>& argb) {
  if (argb.size() != kMenuBitmapSize * kMenuBitmapSize) return UniqueGdiObject();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = kMenuBitmapSize;
  info.bmiHeader.biHeight = -kMenuBitmapSize;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueGdiObject bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || bits == nullptr) return UniqueGdiObject();
  auto* out = static_cast<std::uint32_t*>(bits);
  for (std::size_t i = 0; i < argb.size(); ++i) {
    const std::uint32_t alpha = argb[i] >> 24;
    auto premultiplied = [&](int shift) { return ((argb[i] >> shift) & 0xFF) * alpha / 255; };
    out[i] = alpha << 24 | premultiplied(16) << 16 | premultiplied(8) << 8 | premultiplied(0);
  }
  return bitmap;
}

// Themed menus on Windows blend an item's 32-bit bitmap onto the menu. Classic menus, and
// Wine's, copy it as it is (transparent pixels turn black) and invert it under the highlight,
// so there the host draws the picture itself.
bool MenusBlendBitmaps() {
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  const bool wine = ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
  return ::IsAppThemed() != FALSE && !wine;
}

// Fills type, state and text; the text buffer must outlive the call that uses the record.
MENUITEMINFOW Describe(const MenuItem& item, std::wstring& text) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
  if (IsSeparator(item)) {
    info.fMask = MIIM_FTYPE;
    info.fType = MFT_SEPARATOR;
    return info;
  }
  text = Widen(item.Caption);
  info.fType = MFT_STRING | (item.RadioItem ? MFT_RADIOCHECK : 0u);
  info.fState = item.Checked ? MFS_CHECKED : MFS_UNCHECKED;
  info.dwTypeData = text.data();
  return info;
}

}  // namespace

TrayMenu::TrayMenu(TForm1& form) : form_(form), blendedBitmaps_(MenusBlendBitmaps()) { Build(); }

const UniqueGdiObject* TrayMenu::BitmapOf(UINT commandId) const {
  for (std::size_t i = 0; i < kCommands.size(); ++i) {
    if (static_cast<UINT>(kCommands[i].id) == commandId && bitmaps_[i]) return &bitmaps_[i];
  }
  return nullptr;
}

bool TrayMenu::MeasureItem(MEASUREITEMSTRUCT& measure) const {
  if (measure.CtlType != ODT_MENU || BitmapOf(measure.itemID) == nullptr) return false;
  measure.itemWidth = kMenuBitmapSize;
  measure.itemHeight = kMenuBitmapSize;
  return true;
}

bool TrayMenu::DrawItem(const DRAWITEMSTRUCT& draw) const {
  const UniqueGdiObject* bitmap = draw.CtlType == ODT_MENU ? BitmapOf(draw.itemID) : nullptr;
  if (bitmap == nullptr) return false;
  const UniqueMemoryDc source(::CreateCompatibleDC(draw.hDC));
  const SelectedObject selected(source.Get(), bitmap->Get());
  const RECT& r = draw.rcItem;
  const int left = r.left + (r.right - r.left - kMenuBitmapSize) / 2;
  const int top = r.top + (r.bottom - r.top - kMenuBitmapSize) / 2;
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ::GdiAlphaBlend(draw.hDC, left, top, kMenuBitmapSize, kMenuBitmapSize, source.Get(), 0, 0,
                  kMenuBitmapSize, kMenuBitmapSize, blend);
  return true;
}

const FormCommand* TrayMenu::CommandOf(int commandId) {
  const int screen = commandId - MenuId::Screen1;
  if (screen >= 0 && screen < kScreenCommands) {
    return FindFormCommand("Screen" + std::to_string(screen + 1));
  }
  for (const MenuCommand& command : kCommands) {
    if (command.id == commandId && command.command != nullptr) {
      return FindFormCommand(command.command);
    }
  }
  return nullptr;
}

void TrayMenu::Build() {
  menu_.Reset(::CreatePopupMenu());
  // Owned by the item that opens it once inserted; destroyed with the whole menu.
  const HMENU language = ::CreatePopupMenu();
  HMENU languageOwner = language;
  const HMENU screens = BuildScreens();
  HMENU screensOwner = screens;
  for (std::size_t i = 0; i < kCommands.size(); ++i) {
    const MenuCommand& command = kCommands[i];
    const MenuItem& item = form_.*command.item;
    shown_[i] = Shown{item, item.Visible};
    if (!item.Visible) continue;
    std::wstring text;
    MENUITEMINFOW info = Describe(item, text);
    info.fMask |= MIIM_ID;
    info.wID = static_cast<UINT>(command.id);
    bitmaps_[i] = MakeItemBitmap(item.Bitmap);
    if (bitmaps_[i]) {
      info.fMask |= MIIM_BITMAP;
      info.hbmpItem = blendedBitmaps_ ? static_cast<HBITMAP>(bitmaps_[i].Get()) : HBMMENU_CALLBACK;
    }
    if (command.id == MenuId::langer1) {
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = language;
      languageOwner = nullptr;
    }
    if (command.id == MenuId::N9) {
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = screens;
      screensOwner = nullptr;
    }
    const HMENU parent = command.in == In::Language  ? language
                         : command.in == In::Screens ? screens
                                                     : menu_.Get();
    ::InsertMenuItemW(parent, static_cast<UINT>(::GetMenuItemCount(parent)), TRUE, &info);
  }
  if (languageOwner != nullptr) ::DestroyMenu(languageOwner);
  if (screensOwner != nullptr) ::DestroyMenu(screensOwner);
}

HMENU TrayMenu::BuildScreens() {
  const HMENU screens = ::CreatePopupMenu();
  shownScreens_ = form_.Screens;
  for (std::size_t n = 0; n < shownScreens_.size() && n < kScreenCommands; ++n) {
    std::wstring text;
    MENUITEMINFOW info = Describe(shownScreens_[n], text);
    info.fMask |= MIIM_ID;
    info.wID = static_cast<UINT>(MenuId::Screen1 + static_cast<int>(n));
    ::InsertMenuItemW(screens, static_cast<UINT>(n), TRUE, &info);
  }
  return screens;
}

bool TrayMenu::VisibilityChanged() const {
  for (std::size_t i = 0; i < kCommands.size(); ++i) {
    if ((form_.*kCommands[i].item).Visible != shown_[i].built) return true;
  }
  return false;
}

namespace {

bool SameItems(const std::vector<MenuItem>& a, const std::vector<MenuItem>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const MenuItem& x, const MenuItem& y) {
                      return x.Caption == y.Caption && x.Checked == y.Checked;
                    });
}

}  // namespace

void TrayMenu::Sync() {
  // The monitors come and go: their sub-menu is made anew, and the menu with it.
  if (VisibilityChanged() || !SameItems(form_.Screens, shownScreens_)) {
    Build();
    return;
  }
  for (std::size_t i = 0; i < kCommands.size(); ++i) {
    const MenuItem& item = form_.*kCommands[i].item;
    MenuItem& shown = shown_[i].item;
    if (!item.Visible || (item.Caption == shown.Caption && item.Checked == shown.Checked &&
                          item.RadioItem == shown.RadioItem)) {
      continue;
    }
    std::wstring text;
    const MENUITEMINFOW info = Describe(item, text);
    // Found by command id anywhere in the menu, sub-menu included.
    ::SetMenuItemInfoW(menu_.Get(), static_cast<UINT>(kCommands[i].id), FALSE, &info);
    shown = item;
  }
}

int TrayMenu::Popup(HWND owner, POINT at) {
  const BOOL chosen = ::TrackPopupMenu(menu_.Get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN,
                                       at.x, at.y, 0, owner, nullptr);
  // Lets the menu close properly the next time the user clicks elsewhere.
  ::PostMessageW(owner, WM_NULL, 0, 0);
  return static_cast<int>(chosen);
}

}  // namespace raz::win32
