#pragma once
// Which model component becomes which real control: the kind of child window and its fixed
// id (control_ids.h) for every component of the two forms.
#include <vector>

#include "app/components.h"

namespace raz {
class TForm1;
class TForm2;
}  // namespace raz

namespace raz::win32 {

enum class ControlKind { Label, Button, Memo, Edit, Image, RadioButton, RadioGroup };

struct ControlBinding {
  int id;
  ControlKind kind;
  Control* model;
};

std::vector<ControlBinding> BindForm1(TForm1& form);
std::vector<ControlBinding> BindForm2(TForm2& form);

}  // namespace raz::win32
