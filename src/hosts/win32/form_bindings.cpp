#include "hosts/win32/form_bindings.h"

#include "app/form1.h"
#include "app/form2.h"
#include "hosts/win32/control_ids.h"

namespace raz::win32 {

std::vector<ControlBinding> BindForm1(TForm1& f) {
  using K = ControlKind;
  namespace id = Form1Id;
  return {
      {id::Image1, K::Image, &f.Image1},   {id::Image2, K::Image, &f.Image2},
      {id::Image3, K::Image, &f.Image3},   {id::Label1, K::Label, &f.Label1},
      {id::Label2, K::Label, &f.Label2},   {id::Label3, K::Label, &f.Label3},
      {id::Label4, K::Label, &f.Label4},   {id::Label5, K::Label, &f.Label5},
      {id::Label6, K::Label, &f.Label6},   {id::Label7, K::Label, &f.Label7},
      {id::Label8, K::Label, &f.Label8},   {id::Label9, K::Label, &f.Label9},
      {id::Label12, K::Label, &f.Label12}, {id::Label13, K::Label, &f.Label13},
      {id::Label14, K::Label, &f.Label14}, {id::Label15, K::Label, &f.Label15},
      {id::button1, K::Button, &f.button1}, {id::Button3, K::Button, &f.Button3},
      {id::Button4, K::Button, &f.Button4}, {id::Button5, K::Button, &f.Button5},
      {id::Memo1, K::Memo, &f.Memo1},      {id::Memo2, K::Memo, &f.Memo2},
      {id::Memo3, K::Memo, &f.Memo3},      {id::Edit1, K::Edit, &f.Edit1},
  };
}

std::vector<ControlBinding> BindForm2(TForm2& f) {
  using K = ControlKind;
  namespace id = Form2Id;
  return {
      {id::RadioGroup1, K::RadioGroup, &f.RadioGroup1},
      {id::RadioButton1, K::RadioButton, &f.RadioButton1},
      {id::RadioButton2, K::RadioButton, &f.RadioButton2},
      {id::Button1, K::Button, &f.Button1},
      {id::Button2, K::Button, &f.Button2},
      {id::RadioGroup2, K::RadioGroup, &f.RadioGroup2},
      {id::RadioGroup3, K::RadioGroup, &f.RadioGroup3},
      {id::RadioGroup4, K::RadioGroup, &f.RadioGroup4},
  };
}

}  // namespace raz::win32
