#pragma once
// Turns a form's component models into real child controls and keeps them in line: after
// every handler, Sync compares each model with what was last applied and touches only what
// changed, so a 2 ms timer costs a few comparisons when nothing moved.
#include <cstdint>
#include <string>
#include <vector>

#include "hosts/win32/form_bindings.h"
#include "hosts/win32/form_style.h"
#include "platform/win32/win32_api.h"

namespace raz::win32 {

class ControlSync {
 public:
  // A control with a font of its own in the style gets that one, the others the given font.
  void Create(HWND parent, HFONT font, std::vector<ControlBinding> bindings,
              const FormStyle& style);
  void Sync();
  // The parent is gone, and its children with it.
  void Forget() { entries_.clear(); }

  // The user clicked a radio button or a radio-group item: record the choice in the models.
  // False when the id is no radio control of this form.
  bool RecordRadioClick(int controlId);

 private:
  struct Applied {
    std::wstring text;
    bool visible = false;
    bool enabled = true;
    int left = 0, top = 0, width = 0, height = 0;
    bool checked = false;
    int itemIndex = -1;
    std::vector<std::string> items;
    std::vector<std::uint32_t> pixels;
    std::uint64_t pixelsCheckedAt = 0;
  };
  struct Entry {
    ControlBinding binding;
    HWND window = nullptr;
    std::vector<HWND> items;  // radio group items
    Applied applied;
  };

  void CreateWindowFor(Entry& entry);
  void SyncEntry(Entry& entry, bool initial);
  void SyncItems(Entry& entry, bool initial);
  void SyncPixels(Entry& entry);
  void PutBackgroundsBehind();

  HWND parent_ = nullptr;
  HFONT font_ = nullptr;
  const FormStyle* style_ = nullptr;
  int textHeight_ = 0;
  std::vector<Entry> entries_;
};

// A form's own window: caption, place, client size, shown or hidden, maximised.
class WindowSync {
 public:
  void Attach(HWND window, const FormWindow& applied);
  void Sync(const FormWindow& model);
  // The model asks to be shown and the window is still hidden.
  bool ShowPending(const FormWindow& model) const { return model.Visible && !applied_.Visible; }

 private:
  HWND window_ = nullptr;
  FormWindow applied_;
};

}  // namespace raz::win32
