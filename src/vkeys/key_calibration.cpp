#include "vkeys/key_calibration.h"

#include <iterator>

#include "base/numeric.h"
#include "base/pen_status.h"
#include "calibration/usable_calibration.h"

namespace raz {
namespace {

constexpr float kMinimumDrop = 100.0f;  // second point below the first, strictly more
// The printed icons stand near the board's left and right edges. Margins closer together than
// half the coded width are no layout: one stroke through the three steps once gave margins 110
// units apart, and the board then took nearly every touch for a key.
constexpr std::int64_t kMinimumKeySpan = kCodedAreaRawSpan / 2;

using Key::LeftBottomX;
using Key::LeftBottomY;
using Key::LeftTopX;
using Key::LeftTopY;
using Key::RightMiddleX;
using Key::RightMiddleY;

void SetMargins(bool usable, std::int32_t left, std::int32_t right, KeyLayout& layout) {
  layout.KeyMarginLeft = usable ? left : kMarginLeftWhenOff;
  layout.KeyMarginRight = usable ? right : kMarginRightWhenOff;
}

}  // namespace

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

bool IsUsableKeyLayout(std::int32_t leftTopX, std::int32_t leftTopY, std::int32_t leftBottomY,
                       std::int32_t rightMiddleX) {
  return static_cast<std::int64_t>(rightMiddleX) - leftTopX >= kMinimumKeySpan &&
         leftTopY < leftBottomY;
}

void SetKeyMargins(bool keysOn, const KeyCalibration& c, KeyLayout& layout) {
  const std::int32_t left = TruncToInt(c.KeyPointLeftTop.x);
  const std::int32_t right = TruncToInt(c.KeyPointRightMiddle.x);
  const bool usable = keysOn && IsUsableKeyLayout(left, TruncToInt(c.KeyPointLeftTop.y),
                                                  TruncToInt(c.KeyPointLeftBottom.y), right);
  SetMargins(usable, left, right, layout);
}

bool LoadKeyLayout(SettingsFile& ini, KeyCalibration& calibration, KeyLayout& layout) {
  auto point = [&](const char* keyX, const char* keyY) {
    return PointF{static_cast<float>(ini.ReadInteger(Section::VKeyCali, keyX, 0)),
                  static_cast<float>(ini.ReadInteger(Section::VKeyCali, keyY, 0))};
  };
  calibration.KeyPointLeftTop = point(LeftTopX, LeftTopY);
  calibration.KeyPointLeftBottom = point(LeftBottomX, LeftBottomY);
  calibration.KeyPointRightMiddle = point(RightMiddleX, RightMiddleY);
  const bool keysOn = ini.ReadInteger(Section::Parameters, Key::VKey, 0) == 1;
  SetKeyMargins(keysOn, calibration, layout);
  DeriveKeyBounds(calibration.KeyPointLeftTop.y, calibration.KeyPointLeftBottom.y, layout);
  calibration.KeyCalibrationActive = false;
  return keysOn;
}

void SwitchHotkeys(SettingsFile& ini, bool on, KeyLayout& layout) {
  ini.WriteInteger(Section::Parameters, Key::VKey, on ? 1 : 0);
  if (!on) {
    SetMargins(false, 0, 0, layout);
    return;
  }
  const std::int32_t left = ini.ReadInteger(Section::VKeyCali, LeftTopX, 0);
  const std::int32_t right = ini.ReadInteger(Section::VKeyCali, RightMiddleX, 0);
  const bool usable = IsUsableKeyLayout(left, ini.ReadInteger(Section::VKeyCali, LeftTopY, 0),
                                        ini.ReadInteger(Section::VKeyCali, LeftBottomY, 0), right);
  SetMargins(usable, left, right, layout);
}

void SaveKeyPoints(SettingsFile& ini, const KeyCalibration& calibration) {
  const char* const keys[] = {LeftTopX,    LeftTopY,     LeftBottomX,
                              LeftBottomY, RightMiddleX, RightMiddleY};
  const PointF& top = calibration.KeyPointLeftTop;
  const PointF& bottom = calibration.KeyPointLeftBottom;
  const PointF& right = calibration.KeyPointRightMiddle;
  const float values[] = {top.x, top.y, bottom.x, bottom.y, right.x, right.y};
  std::int32_t before[std::size(keys)];
  for (std::size_t i = 0; i < std::size(keys); ++i) {
    before[i] = ini.ReadInteger(Section::VKeyCali, keys[i], 0);
  }
  std::size_t written = 0;
  try {
    for (; written < std::size(keys); ++written) {
      ini.WriteInteger(Section::VKeyCali, keys[written], TruncToInt(values[written]));
    }
  } catch (const SettingsWriteError&) {
    // Half a layout would load as nonsense at the next start: put back what was written, as
    // far as the system lets us, and report the refusal.
    for (std::size_t i = 0; i < written; ++i) {
      try {
        ini.WriteInteger(Section::VKeyCali, keys[i], before[i]);
      } catch (const SettingsWriteError&) {
      }
    }
    throw;
  }
}

void StartKeyCalibration(KeyCalibration& c) {
  // A restart in the middle keeps the points of before the first start.
  if (!c.KeyCalibrationActive) {
    c.PointsBefore = {c.KeyPointLeftTop, c.KeyPointLeftBottom, c.KeyPointRightMiddle};
  }
  c.KeyCalibrationActive = true;
  c.KeyCalibrationStep = 0;
}

// One call makes at most one transition: the cases are tested from the last point back.
KeyCalibrationOutcome KeyCalibrationStep(std::int32_t levelX, PointF raw, KeyCalibration& c) {
  if (levelX <= kSignalLevel) return KeyCalibrationOutcome::Ignored;
  if (c.KeyCalibrationStep == 2) {
    c.KeyPointRightMiddle = raw;
    // Also keeps a pen resting on the first corner from being taken for the third.
    if (!IsUsableKeyLayout(TruncToInt(c.KeyPointLeftTop.x), TruncToInt(c.KeyPointLeftTop.y),
                           TruncToInt(c.KeyPointLeftBottom.y), TruncToInt(raw.x))) {
      return KeyCalibrationOutcome::ThirdRetry;
    }
    return KeyCalibrationOutcome::Finished;
  }
  if (c.KeyCalibrationStep == 1) {
    c.KeyPointLeftBottom = raw;
    if (!(c.KeyPointLeftBottom.y - c.KeyPointLeftTop.y > kMinimumDrop)) {
      return KeyCalibrationOutcome::SecondRetry;
    }
    c.KeyCalibrationStep = 2;
    return KeyCalibrationOutcome::SecondTaken;
  }
  c.KeyPointLeftTop = raw;
  c.KeyCalibrationStep = 1;
  return KeyCalibrationOutcome::FirstTaken;
}

void FinishKeyCalibration(KeyCalibration& c, KeyLayout& layout) {
  SetKeyMargins(true, c, layout);
  DeriveKeyBounds(c.KeyPointLeftTop.y, c.KeyPointLeftBottom.y, layout);
  c.KeyCalibrationActive = false;
}

void CancelKeyCalibration(KeyCalibration& c) {
  if (!c.KeyCalibrationActive) return;
  c.KeyPointLeftTop = c.PointsBefore[0];
  c.KeyPointLeftBottom = c.PointsBefore[1];
  c.KeyPointRightMiddle = c.PointsBefore[2];
  c.KeyCalibrationActive = false;
  c.KeyCalibrationStep = 0;
}

}  // namespace raz
