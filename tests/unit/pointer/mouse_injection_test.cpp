#include "pointer/mouse_injection.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/headless/headless_devices.h"

namespace raz {
namespace {

namespace F = MouseFlags;

TEST(MouseInjection, ToAbsolute_LandsOnExactlyThePixelTheSystemMapsBackAndClampsTheRest) {
  for (std::int32_t size : {640, 768, 800, 1024, 1080, 1366, 1920, 2160, 3840}) {
    for (std::int32_t pixel = 0; pixel < size; ++pixel) {
      ASSERT_EQ((std::int64_t{ToAbsolute(pixel, size)} * size) >> 16, pixel)
          << "pixel " << pixel << " of " << size;
    }
  }
  // Off the screen, and a screen of unknown size: {pixel, size, absolute}.
  const std::int32_t offScreen[][3] = {{-5, 1024, 0}, {1024, 1024, 65535}, {5000, 1024, 65535},
                                       {100, 0, 0},   {100, -1, 0},        {1023, 1024, 65472}};
  for (const auto& [pixel, size, absolute] : offScreen) {
    EXPECT_EQ(ToAbsolute(pixel, size), absolute) << pixel << " of " << size;
  }
}

}  // namespace
}  // namespace raz
