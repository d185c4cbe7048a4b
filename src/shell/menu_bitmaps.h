#pragma once
// The small pictures beside three commands of the tray menu: the screen calibration, the
// virtual-key calibration and the exit.
#include <cstdint>
#include <vector>

namespace raz {

inline constexpr int kMenuBitmapSize = 16;

enum class MenuPicture { Calibrate, KeyCalibrate, Exit };

// 16 x 16 pixels, 0xAARRGGBB with straight alpha (0 transparent, 255 opaque), row by row
// from the top.
std::vector<std::uint32_t> MenuBitmap(MenuPicture picture);

}  // namespace raz
