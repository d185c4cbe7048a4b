#pragma once
// PopupMenu1 as a real pop-up menu: built from TForm1's menu items, kept in line with their
// captions and check marks, and the table from command to handler.
#include <array>
#include <string>

#include "app/components.h"
#include "platform/win32/unique_handles.h"

namespace raz {
class TForm1;
}

namespace raz::win32 {

using MenuHandler = void (TForm1::*)();

class TrayMenu {
 public:
  explicit TrayMenu(TForm1& form);

  void Sync();
  // Shows the menu at a screen point and waits for the choice; 0 when nothing was chosen.
  int Popup(HWND owner, POINT at);
  // Null when the command has no handler.
  static MenuHandler HandlerOf(int commandId);

 private:
  struct Shown {
    MenuItem item;
    bool built = false;
  };

  void Build();
  bool VisibilityChanged() const;

  TForm1& form_;
  UniqueMenu menu_;
  std::array<Shown, 9> shown_{};
};

}  // namespace raz::win32
