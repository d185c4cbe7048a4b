#include "shell/menu_bitmaps.h"

#include <array>
#include <stdexcept>
#include <string_view>

namespace raz {
namespace {

using Rows = std::array<std::string_view, kMenuBitmapSize>;

// A calibration target: the red ring and cross the calibration screens show.
constexpr Rows kCalibrate{
    ".......r........",  //
    ".......r........",  //
    ".....rrrrr......",  //
    "....r..r..r.....",  //
    "...r...r...r....",  //
    "..r.........r...",  //
    "..r....r....r...",  //
    "rrrrr.rrr.rrrrr.",  //
    "..r....r....r...",  //
    "..r.........r...",  //
    "...r...r...r....",  //
    "....r..r..r.....",  //
    ".....rrrrr......",  //
    ".......r........",  //
    ".......r........",  //
    "................",
};

// The first margin key, with the target on its upper right corner: where the virtual-key
// calibration asks for the first touch.
constexpr Rows kKeyCalibrate{
    "................",  //
    "...........r....",  //
    "...........r....",  //
    "...........r....",  //
    "................",  //
    "........rrr.rrr.",  //
    "..kkkkkkk..r....",  //
    ".kwwwwwwwk.r....",  //
    ".kwwwkwwwgkr....",  //
    ".kwwkkwwwgk.....",  //
    ".kwwwkwwwgk.....",  //
    ".kwwwkwwwgk.....",  //
    ".kwwwkwwwgk.....",  //
    ".kwwkkkwwgk.....",  //
    ".kggggggggk.....",  //
    "..kkkkkkkk......",
};

// A power switch.
constexpr Rows kExit{
    "................",  //
    ".......rr.......",  //
    "...rr..rr..rr...",  //
    "..rr...rr...rr..",  //
    ".rr....rr....rr.",  //
    ".rr....rr....rr.",  //
    "rr.....rr.....rr",  //
    "rr.....rr.....rr",  //
    "rr............rr",  //
    "rr............rr",  //
    ".rr..........rr.",  //
    ".rr..........rr.",  //
    "..rr........rr..",  //
    "...rrr....rrr...",  //
    ".....rrrrrr.....",  //
    "................",
};

std::uint32_t Colour(char key) {
  switch (key) {
    case '.': return 0x00000000;
    case 'r': return 0xFFC81E1E;  // red
    case 'k': return 0xFF323232;  // outline
    case 'w': return 0xFFFFFFFF;  // key face
    case 'g': return 0xFFA0A0A0;  // key shade
    default: throw std::logic_error("menu bitmap: unknown colour key");
  }
}

}  // namespace

std::vector<std::uint32_t> MenuBitmap(MenuPicture picture) {
  const Rows& rows = picture == MenuPicture::Calibrate      ? kCalibrate
                     : picture == MenuPicture::KeyCalibrate ? kKeyCalibrate
                                                            : kExit;
  std::vector<std::uint32_t> pixels;
  pixels.reserve(kMenuBitmapSize * kMenuBitmapSize);
  for (std::string_view row : rows) {
    if (row.size() != kMenuBitmapSize) throw std::logic_error("menu bitmap: row is not 16 wide");
    for (char key : row) pixels.push_back(Colour(key));
  }
  return pixels;
}

}  // namespace raz
