#include "sim/margin_keys.h"

#include <gtest/gtest.h>

#include "board/key_layout.h"

namespace raz::sim {

constexpr double kRawPerCell = 20.0;

// The default icons sit where the driver's built-in key layout looks for them.
TEST(MarginKeys, DefaultIconsFallInTheirBandsOfTheBuiltInLayout) {
  const KeyLayout builtIn;
  for (const Margin margin : {Margin::Left, Margin::Right}) {
    for (int icon = 1; icon <= kKeysPerMargin; ++icon) {
      const CellPoint centre = KeyCentre(MarginKeyLayout{}, margin, icon);
      const double x = centre.x * kRawPerCell, y = centre.y * kRawPerCell;
      EXPECT_TRUE(y > builtIn.KeyBounds[static_cast<std::size_t>(icon - 1)] &&
                  y < builtIn.KeyBounds[static_cast<std::size_t>(icon)] &&
                  (margin == Margin::Left ? x < builtIn.KeyMarginLeft : x > builtIn.KeyMarginRight))
          << (margin == Margin::Left ? "left " : "right ") << icon << " at " << x << "," << y;
    }
  }
}

}  // namespace raz::sim
