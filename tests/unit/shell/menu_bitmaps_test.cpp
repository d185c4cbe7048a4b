#include "shell/menu_bitmaps.h"

#include <gtest/gtest.h>

#include <set>

namespace raz {
namespace {

// Each picture is drawn as rows of colour keys; a short row or an unknown key would only show
// when the menu is built. Menus mix the pictures onto their own background, so every pixel is
// either fully there or fully transparent, and there is something to see.
TEST(MenuBitmaps, EachPictureIsSixteenSquareWithOpaqueInkOnATransparentGround) {
  std::set<std::vector<std::uint32_t>> distinct;
  for (MenuPicture picture :
       {MenuPicture::Calibrate, MenuPicture::KeyCalibrate, MenuPicture::Exit}) {
    SCOPED_TRACE(static_cast<int>(picture));
    std::vector<std::uint32_t> pixels;
    ASSERT_NO_THROW(pixels = MenuBitmap(picture));
    ASSERT_EQ(pixels.size(), 256u);
    int opaque = 0;
    for (std::uint32_t p : pixels) {
      EXPECT_TRUE(p == 0 || p >> 24 == 0xFF) << std::hex << p;
      opaque += p >> 24 == 0xFF;
    }
    EXPECT_GT(opaque, 20);
    EXPECT_LT(opaque, 200);
    distinct.insert(pixels);
  }
  EXPECT_EQ(distinct.size(), 3u);
}

}  // namespace
}  // namespace raz
