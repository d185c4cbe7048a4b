#include "hosts/win32/tray_menu.h"

#include "app/form1.h"
#include "hosts/win32/control_ids.h"
#include "platform/win32/utf.h"

namespace raz::win32 {
namespace {

struct MenuCommand {
  int id;
  MenuItem TForm1::*item;
  MenuHandler handler;
  bool inLanguageMenu;
};

// Items in menu order. Commands without a handler yet do nothing when chosen.
constexpr std::array<MenuCommand, 9> kCommands{{
    {MenuId::N1, &TForm1::N1, &TForm1::N1Click, false},
    {MenuId::N6, &TForm1::N6, &TForm1::N6Click, false},
    {MenuId::N2, &TForm1::N2, nullptr, false},
    {MenuId::langer1, &TForm1::langer1, nullptr, false},
    {MenuId::N7, &TForm1::N7, nullptr, true},
    {MenuId::English1, &TForm1::English1, nullptr, true},
    {MenuId::N4, &TForm1::N4, &TForm1::N4Click, false},
    {MenuId::N5, &TForm1::N5, nullptr, false},
    {MenuId::N3, &TForm1::N3, &TForm1::N3Click, false},
}};

bool IsSeparator(const MenuItem& item) { return item.Caption == "-"; }

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

TrayMenu::TrayMenu(TForm1& form) : form_(form) { Build(); }

MenuHandler TrayMenu::HandlerOf(int commandId) {
  for (const MenuCommand& command : kCommands) {
    if (command.id == commandId) return command.handler;
  }
  return nullptr;
}

void TrayMenu::Build() {
  menu_.Reset(::CreatePopupMenu());
  // Owned by the item that opens it once inserted; destroyed with the whole menu.
  const HMENU language = ::CreatePopupMenu();
  HMENU languageOwner = language;
  for (std::size_t i = 0; i < kCommands.size(); ++i) {
    const MenuCommand& command = kCommands[i];
    const MenuItem& item = form_.*command.item;
    shown_[i] = Shown{item, item.Visible};
    if (!item.Visible) continue;
    std::wstring text;
    MENUITEMINFOW info = Describe(item, text);
    info.fMask |= MIIM_ID;
    info.wID = static_cast<UINT>(command.id);
    if (command.id == MenuId::langer1) {
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = language;
      languageOwner = nullptr;
    }
    const HMENU parent = command.inLanguageMenu ? language : menu_.Get();
    ::InsertMenuItemW(parent, static_cast<UINT>(::GetMenuItemCount(parent)), TRUE, &info);
  }
  if (languageOwner != nullptr) ::DestroyMenu(languageOwner);
}

bool TrayMenu::VisibilityChanged() const {
  for (std::size_t i = 0; i < kCommands.size(); ++i) {
    if ((form_.*kCommands[i].item).Visible != shown_[i].built) return true;
  }
  return false;
}

void TrayMenu::Sync() {
  if (VisibilityChanged()) {
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
