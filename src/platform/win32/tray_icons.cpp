#include "platform/win32/tray_icons.h"

#include <array>
#include <cstdint>

namespace raz::win32 {
namespace {

constexpr int kSize = 32;
// Drawn first and turned transparent afterwards; no part of the picture uses it.
constexpr COLORREF kKey = RGB(255, 0, 255);

struct Palette {
  COLORREF frame;
  COLORREF surface;
  COLORREF stand;
  bool pen;
};

constexpr Palette kLive{RGB(40, 40, 40), RGB(255, 255, 255), RGB(90, 90, 90), true};
constexpr Palette kGrey{RGB(110, 110, 110), RGB(192, 192, 192), RGB(140, 140, 140), false};

void Line(HDC dc, COLORREF colour, int width, std::initializer_list<POINT> points) {
  UniqueGdiObject pen(::CreatePen(PS_SOLID, width, colour));
  const SelectedObject selected(dc, pen.Get());
  ::Polyline(dc, points.begin(), static_cast<int>(points.size()));
}

void DrawBoard(HDC dc, const Palette& palette) {
  RECT all{0, 0, kSize, kSize};
  UniqueGdiObject key(::CreateSolidBrush(kKey));
  ::FillRect(dc, &all, static_cast<HBRUSH>(key.Get()));

  // Legs and foot of the stand.
  Line(dc, palette.stand, 2, {{10, 23}, {6, 31}});
  Line(dc, palette.stand, 2, {{22, 23}, {26, 31}});
  Line(dc, palette.stand, 2, {{16, 23}, {16, 30}});

  UniqueGdiObject surface(::CreateSolidBrush(palette.surface));
  UniqueGdiObject frame(::CreatePen(PS_SOLID, 2, palette.frame));
  {
    const SelectedObject brush(dc, surface.Get());
    const SelectedObject pen(dc, frame.Get());
    ::Rectangle(dc, 2, 3, 30, 24);
  }
  if (!palette.pen) return;

  // Something written on the board, and the pen that wrote it.
  Line(dc, RGB(200, 30, 30), 1, {{6, 18}, {9, 13}, {12, 17}, {15, 12}, {18, 16}});
  Line(dc, RGB(30, 60, 200), 3, {{28, 5}, {21, 12}});
  Line(dc, RGB(20, 20, 20), 1, {{21, 12}, {19, 15}});
}

UniqueIcon MakeIcon(const Palette& palette) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = kSize;
  info.bmiHeader.biHeight = -kSize;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;

  void* bits = nullptr;
  UniqueGdiObject colour(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
  if (!colour || !dc || bits == nullptr) return UniqueIcon();
  {
    const SelectedObject selected(dc.Get(), colour.Get());
    DrawBoard(dc.Get(), palette);
    ::GdiFlush();
  }

  // GDI leaves alpha at zero: make every drawn pixel opaque and the key colour transparent,
  // and build the matching monochrome mask (1 = transparent), rows padded to 16 bits.
  auto* pixels = static_cast<std::uint32_t*>(bits);
  constexpr std::uint32_t kKeyPixel = 0x00FF00FF;
  std::array<std::uint8_t, kSize * kSize / 8> mask{};
  for (int i = 0; i < kSize * kSize; ++i) {
    if ((pixels[i] & 0x00FFFFFF) == kKeyPixel) {
      pixels[i] = 0;
      mask[static_cast<std::size_t>(i / 8)] |= static_cast<std::uint8_t>(0x80 >> (i % 8));
    } else {
      pixels[i] |= 0xFF000000;
    }
  }
  UniqueGdiObject maskBitmap(::CreateBitmap(kSize, kSize, 1, 1, mask.data()));

  ICONINFO icon{};
  icon.fIcon = TRUE;
  icon.hbmColor = static_cast<HBITMAP>(colour.Get());
  icon.hbmMask = static_cast<HBITMAP>(maskBitmap.Get());
  // The icon keeps copies of both bitmaps; ours go with their owners.
  return UniqueIcon(::CreateIconIndirect(&icon));
}

}  // namespace

TrayIcons::TrayIcons() : withPen_(MakeIcon(kLive)), grey_(MakeIcon(kGrey)) {}

HICON TrayIcons::For(TrayIconImage image) const {
  switch (image) {
    case TrayIconImage::BoardWithPen: return withPen_.Get();
    case TrayIconImage::BoardGrey: return grey_.Get();
    case TrayIconImage::None: break;
  }
  return nullptr;
}

}  // namespace raz::win32
