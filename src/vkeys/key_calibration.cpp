#include "vkeys/key_calibration.h"

#include <algorithm>
#include <cstring>

#include "base/numeric.h"

namespace raz {

void DeriveKeyBounds(float topY, float bottomY, KeyLayout& layout) {
  // Extended precision with 1/9 as a constant, in this order of operations: the stored
  // layouts of installed boards were derived exactly this way.
  const long double ninth = 1.0L / 9.0L;
  const long double top = topY;
  const long double height = static_cast<long double>(bottomY) - top;
  layout.KeyBounds[0] = TruncToInt(top);
  layout.KeyBounds[1] = TruncToInt(height * ninth + top);
  for (int n = 2; n <= 9; ++n) {
    layout.KeyBounds[n] = TruncToInt(height * ninth * n + top);
  }
}

bool LoadKeyLayout(SettingsFile& ini, KeyCalibration& calibration, KeyLayout& layout) {
  auto point = [&](const char* keyX, const char* keyY) {
    return PointF{static_cast<float>(ini.ReadInteger(Section::VKeyCali, keyX, 0)),
                  static_cast<float>(ini.ReadInteger(Section::VKeyCali, keyY, 0))};
  };
  calibration.KeyPointLeftTop = point("VKeyPoint_L_TopX", "VKeyPoint_L_TopY");
  calibration.KeyPointLeftBottom = point("VKeyPoint_L_BottomX", "VKeyPoint_L_BottomY");
  calibration.KeyPointRightMiddle = point("VKeyPoint_R_middleX", "VKeyPoint_R_middleY");
  const bool keysOn = ini.ReadInteger(Section::Parameters, "vkey", 0) == 1;
  if (keysOn) {
    layout.KeyMarginLeft = TruncToInt(calibration.KeyPointLeftTop.x);
    layout.KeyMarginRight = TruncToInt(calibration.KeyPointRightMiddle.x);
  } else {
    layout.KeyMarginLeft = kMarginLeftWhenOff;
    layout.KeyMarginRight = kMarginRightWhenOff;
  }
  DeriveKeyBounds(calibration.KeyPointLeftTop.y, calibration.KeyPointLeftBottom.y, layout);
  calibration.KeyCalibrationActive = false;
  return keysOn;
}

void SaveKeyPoints(SettingsFile& ini, const KeyCalibration& calibration) {
  auto save = [&](const char* keyX, const char* keyY, PointF point) {
    ini.WriteInteger(Section::VKeyCali, keyX, TruncToInt(point.x));
    ini.WriteInteger(Section::VKeyCali, keyY, TruncToInt(point.y));
  };
  save("VKeyPoint_L_TopX", "VKeyPoint_L_TopY", calibration.KeyPointLeftTop);
  save("VKeyPoint_L_BottomX", "VKeyPoint_L_BottomY", calibration.KeyPointLeftBottom);
  save("VKeyPoint_R_middleX", "VKeyPoint_R_middleY", calibration.KeyPointRightMiddle);
}

void CopyToWindowName(std::string_view value, std::array<char, 100>& buffer) {
  buffer.fill('\0');
  const std::size_t n = std::min(value.size(), buffer.size() - 1);
  std::memcpy(buffer.data(), value.data(), n);
}

}  // namespace raz
