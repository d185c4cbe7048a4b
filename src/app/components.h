#pragma once
// Plain-data models of the window components. Handlers change these; the Win32 host turns
// them into real controls after each handler, and tests read them directly.
#include <cstdint>
#include <string>
#include <vector>

#include "base/points.h"

namespace raz {

// Colours are 0x00RRGGBB; this one means the system's colour for the kind of control.
inline constexpr std::uint32_t kDefaultColor = 0xFFFFFFFF;

// A form's font. An empty name keeps the system's message font.
struct FormFont {
  std::string Name;  // UTF-8
  int Height = 0;    // character height in pixels
  bool Bold = false;
  std::uint32_t Color = kDefaultColor;
};

struct Control {
  std::string Caption;  // UTF-8
  FormFont Font{};      // a font of its own; an empty name takes the form's
  bool Visible = true;
  bool Enabled = true;
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  std::uint32_t Color = kDefaultColor;  // background
};

inline void PlaceControl(Control& c, int left, int top, int width, int height,
                         const char* caption = "") {
  c.Left = left;
  c.Top = top;
  c.Width = width;
  c.Height = height;
  c.Caption = caption;
}

struct Label : Control {};
struct Button : Control {};

struct RadioButton : Control {
  bool Checked = false;
};

struct RadioGroup : Control {
  std::vector<std::string> Items;
  int ItemIndex = -1;  // -1: nothing selected
};

// A memo keeps only its newest lines: the diagnostics arrive once per poll and would
// otherwise grow, and cost the host more to show, for as long as the program runs.
struct Memo : Control {
  static constexpr std::size_t kMaxLines = 200;
  std::vector<std::string> Lines;

  void Append(std::string line) {
    Lines.push_back(std::move(line));
    KeepNewest();
  }
  void KeepNewest() {
    if (Lines.size() > kMaxLines) {
      Lines.erase(Lines.begin(), Lines.end() - static_cast<std::ptrdiff_t>(kMaxLines));
    }
  }
};

struct Edit : Control {
  std::string Text;
};

// A drawing surface: 32-bit 0x00RRGGBB pixels, row by row from the top.
struct Image : Control {
  std::vector<std::uint32_t> Pixels;
};

struct MenuItem {
  std::string Caption;
  bool Checked = false;
  bool RadioItem = false;
  bool Visible = true;
  // The picture beside the caption: 16 x 16 pixels 0xAARRGGBB, row by row from the top; empty
  // for none.
  std::vector<std::uint32_t> Bitmap{};
};

// A pop-up menu. A handler asks for it to be shown; the host shows it, waits for the choice and
// runs the chosen item's handler.
struct PopupMenu {
  bool PopupRequested = false;
  int PopupX = 0;  // screen pixels
  int PopupY = 0;
  void Popup(int x, int y) {
    PopupRequested = true;
    PopupX = x;
    PopupY = y;
  }
};

// A message-based timer. A change of Enabled or Interval restarts its countdown; setting
// the value it already has changes nothing.
struct Timer {
  bool Enabled = true;
  std::uint32_t Interval = 1000;  // milliseconds
};

enum class WindowState { Normal, Maximized };

// Window-level properties shared by both forms.
struct FormWindow {
  std::string Caption;
  bool Visible = false;
  WindowState State = WindowState::Normal;
  // Where a maximised window lies: the board's monitor, on the virtual desktop. Empty: the
  // monitor the window is on.
  ScreenRect Cover;
  int Left = 0;
  int Top = 0;
  int ClientWidth = 0;
  int ClientHeight = 0;
  bool CloseRequested = false;
  std::uint32_t Color = kDefaultColor;
  FormFont Font{};
};

}  // namespace raz
