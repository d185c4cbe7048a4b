#include "sim/margin_keys.h"

#include <gtest/gtest.h>

#include "vkeys/key_layout.h"

namespace raz::sim {
namespace {

constexpr double kRawPerCell = 20.0;  // ten raw units per half cell

// The default icons sit where the driver's built-in key layout looks for them.
TEST(KeyCentre, EachDefaultIconFallsInItsBandOfTheBuiltInLayout) {
  const MarginKeyLayout icons;
  const KeyLayout builtIn;
  for (const Margin margin : {Margin::Left, Margin::Right}) {
    for (int icon = 1; icon <= kKeysPerMargin; ++icon) {
      const BoardPoint centre = KeyCentre(icons, margin, icon);
      const double rawX = centre.x * kRawPerCell;
      const double rawY = centre.y * kRawPerCell;
      const std::string where =
          (margin == Margin::Left ? "left " : "right ") + std::to_string(icon);
      EXPECT_GT(rawY, builtIn.KeyBounds[static_cast<std::size_t>(icon - 1)]) << where;
      EXPECT_LT(rawY, builtIn.KeyBounds[static_cast<std::size_t>(icon)]) << where;
      if (margin == Margin::Left) {
        EXPECT_LT(rawX, builtIn.KeyMarginLeft) << where;
      } else {
        EXPECT_GT(rawX, builtIn.KeyMarginRight) << where;
      }
    }
  }
}

TEST(KeyCalibrationPoints, DefaultCornersGiveTheBuiltInMarginsAndOuterBounds) {
  const KeyLayout builtIn;
  const auto points = KeyCalibrationPoints(MarginKeyLayout{});
  EXPECT_NEAR(points[0].x * kRawPerCell, builtIn.KeyMarginLeft, 0.5);
  EXPECT_NEAR(points[0].y * kRawPerCell, builtIn.KeyBounds[0], 0.5);
  EXPECT_NEAR(points[1].x * kRawPerCell, builtIn.KeyMarginLeft, 0.5);
  EXPECT_NEAR(points[1].y * kRawPerCell, builtIn.KeyBounds[9], 0.5);
  EXPECT_NEAR(points[2].x * kRawPerCell, builtIn.KeyMarginRight, 0.5);
  // The calibration tests its steps for more than 100 raw units apart.
  EXPECT_GT((points[1].y - points[0].y) * kRawPerCell, 100.0);
  EXPECT_GT((points[2].x - points[0].x) * kRawPerCell, 100.0);
}

TEST(KeyCentre, IconNumbersOutsideOneToNineAreClamped) {
  const MarginKeyLayout icons;
  EXPECT_EQ(KeyCentre(icons, Margin::Left, 0), KeyCentre(icons, Margin::Left, 1));
  EXPECT_EQ(KeyCentre(icons, Margin::Right, 12), KeyCentre(icons, Margin::Right, 9));
}

}  // namespace
}  // namespace raz::sim
