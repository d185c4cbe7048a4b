#pragma once
// The commands a user gives the main window, by the name of their menu item, button or key:
// the one table through which razazide-sim's scenario step "menu ITEM" reaches the handlers.
#include <span>
#include <string_view>

namespace raz {

class TForm1;

struct FormCommand {
  std::string_view name;  // the component's name, "N1", "button1", or "Esc" for the key
  void (*run)(TForm1& form);
};

// The board-screen menu's items "Screen1".."Screen6": the monitors in the system's order.
inline constexpr int kScreenCommands = 6;

std::span<const FormCommand> FormCommands();

// The command of that name, compared without regard to case; null when there is none.
const FormCommand* FindFormCommand(std::string_view name);

}  // namespace raz
