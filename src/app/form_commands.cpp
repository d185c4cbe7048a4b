#include "app/form_commands.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "app/form1.h"

namespace raz {
namespace {

constexpr std::array<FormCommand, 14 + kScreenCommands> kCommands{{
    {"N1", [](TForm1& f) { f.N1Click(); }},
    {"N6", [](TForm1& f) { f.N6Click(); }},
    {"N2", [](TForm1& f) { f.N2Click(); }},
    {"N7", [](TForm1& f) { f.N7Click(); }},
    {"English1", [](TForm1& f) { f.English1Click(); }},
    {"N4", [](TForm1& f) { f.N4Click(); }},
    {"N8", [](TForm1& f) { f.N8Click(); }},
    {"N3", [](TForm1& f) { f.N3Click(); }},
    {"button1", [](TForm1& f) { f.Button1Click(); }},
    {"Button3", [](TForm1& f) { f.Button3Click(); }},
    {"Button4", [](TForm1& f) { f.Button4Click(); }},
    {"Button5", [](TForm1& f) { f.Button5Click(); }},
    {"Esc", [](TForm1& f) { f.FormKeyDown(kEscapeKey); }},
    {"N10", [](TForm1& f) { f.N10Click(); }},
    {"Screen1", [](TForm1& f) { f.ScreenClick(0); }},
    {"Screen2", [](TForm1& f) { f.ScreenClick(1); }},
    {"Screen3", [](TForm1& f) { f.ScreenClick(2); }},
    {"Screen4", [](TForm1& f) { f.ScreenClick(3); }},
    {"Screen5", [](TForm1& f) { f.ScreenClick(4); }},
    {"Screen6", [](TForm1& f) { f.ScreenClick(5); }},
}};

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::span<const FormCommand> FormCommands() { return kCommands; }

const FormCommand* FindFormCommand(std::string_view name) {
  for (const FormCommand& command : kCommands) {
    if (SameName(command.name, name)) return &command;
  }
  return nullptr;
}

}  // namespace raz
