#pragma once
// PopupMenu1 as a real pop-up menu: built from TForm1's menu items, kept in line with their
// captions and check marks, and the table from command to handler.
#include <array>
#include <string>
#include <vector>

#include "app/components.h"
#include "app/form_commands.h"
#include "platform/win32/unique_handles.h"

namespace raz {
class TForm1;
}

namespace raz::win32 {

// PopupMenu1's items and the board-settings item.
inline constexpr std::size_t kMenuCommandCount = 12;

class TrayMenu {
 public:
  explicit TrayMenu(TForm1& form);

  void Sync();
  // Shows the menu at a screen point and waits for the choice; 0 when nothing was chosen.
  int Popup(HWND owner, POINT at);
  // The command a menu command id stands for (the app's command table has its handler); null
  // for an id that is none, or an item without a command (the language sub-menu, the separator).
  static const FormCommand* CommandOf(int commandId);
  // WM_MEASUREITEM and WM_DRAWITEM of an item picture the host draws; false for others.
  bool MeasureItem(MEASUREITEMSTRUCT& measure) const;
  bool DrawItem(const DRAWITEMSTRUCT& draw) const;

 private:
  struct Shown {
    MenuItem item;
    bool built = false;
  };

  void Build();
  bool VisibilityChanged() const;
  HMENU BuildScreens();
  const UniqueGdiObject* BitmapOf(UINT commandId) const;

  TForm1& form_;
  bool blendedBitmaps_;
  UniqueMenu menu_;
  std::array<Shown, kMenuCommandCount> shown_{};
  std::vector<MenuItem> shownScreens_;
  // Menus do not own their items' bitmaps.
  std::array<UniqueGdiObject, kMenuCommandCount> bitmaps_{};
};

}  // namespace raz::win32
