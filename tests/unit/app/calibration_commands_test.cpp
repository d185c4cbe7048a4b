// The calibration surface and the margin keys' handlers of the main window, on plain state.
#include <gtest/gtest.h>

#include <string>

#include "app/canvas.h"
#include "app/form1.h"
#include "app/form_commands.h"
#include "calibration/tour.h"
#include "support/test_platform.h"
#include "vkeys/key_actions.h"

namespace raz {
namespace {

class SurfaceTest : public ::testing::Test {
 protected:
  void Start(int width, int height) {
    tp.display.Set(width, height);
    form.FormCreate();
  }
  test::TestPlatform tp;
  DriverState state;
  TForm1 form{state, tp.platform};
};

// The tour on screens of several sizes.
struct ScreenRow {
  int width, height;
};
class TourOnScreen : public SurfaceTest, public ::testing::WithParamInterface<ScreenRow> {
 protected:
  void SetUp() override {
    Start(GetParam().width, GetParam().height);
    form.N1Click();
  }
};

// The surface keeps Label1 and Label2 (the link text) in view while the tour runs; they stood
// over the first cross and hid its centre from the user.
TEST_P(TourOnScreen, NoControlInViewCoversAnyCross) {
  const TForm1& f = form;
  const std::pair<const char*, const Control*> controls[] = {
      {"Label1", &f.Label1},   {"Label2", &f.Label2},   {"Label3", &f.Label3},
      {"Label4", &f.Label4},   {"Label5", &f.Label5},   {"Label6", &f.Label6},
      {"Label7", &f.Label7},   {"Label8", &f.Label8},   {"Label13", &f.Label13},
      {"Label14", &f.Label14}, {"Label15", &f.Label15}, {"button1", &f.button1},
      {"Button3", &f.Button3}, {"Button4", &f.Button4}, {"Button5", &f.Button5},
      {"Memo1", &f.Memo1},     {"Memo2", &f.Memo2},     {"Memo3", &f.Memo3},
  };
  for (int step = 0; step < kTourSteps; ++step) {
    const ScreenPoint c = CalibrationTarget(step, {GetParam().width, GetParam().height});
    for (const auto& [name, control] : controls) {
      if (!control->Visible) continue;
      const bool apart = control->Left + control->Width <= c.x - 20 || control->Left > c.x + 20 ||
                         control->Top + control->Height <= c.y - 20 || control->Top > c.y + 20;
      EXPECT_TRUE(apart) << name << " covers the cross of step " << step << " at (" << c.x << ", "
                         << c.y << ")";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Screens, TourOnScreen,
                         ::testing::Values(ScreenRow{800, 600}, ScreenRow{1024, 768},
                                           ScreenRow{1280, 800}, ScreenRow{1920, 1080},
                                           ScreenRow{2560, 1440}),
                         [](const auto& info) {
                           return std::to_string(info.param.width) + "x" +
                                  std::to_string(info.param.height);
                         });

// Cancel used to leave the tour running hidden, and the pen dead until it was completed.
// What the teacher sees on either surface is meant for them: no label shows a caption left
// from the form's design ("Label1", "Label3", ...).
TEST(Surfaces, NoLabelInViewShowsADesignCaption) {
  for (const char* command : {"N1", "N6"}) {
    test::TestPlatform tp;
    DriverState state;
    TForm1 f{state, tp.platform};
    tp.display.Set(1024, 768);
    f.FormCreate();
    FindFormCommand(command)->run(f);
    for (const Label* label : {&f.Label1, &f.Label2, &f.Label3, &f.Label4, &f.Label5, &f.Label6,
                               &f.Label7, &f.Label8, &f.Label9, &f.Label12, &f.Label13,
                               &f.Label14, &f.Label15}) {
      if (label->Visible) {
        EXPECT_NE(label->Caption.rfind("Label", 0), 0u) << command << ": " << label->Caption;
      }
    }
  }
}

TEST_F(SurfaceTest, EscEndsEitherCalibrationAndTheKeyLayoutStaysAsItWas) {
  tp.folder.WriteText("VaziZod.ini",
                      "[PARAMETERS]\r\nvkey=1\r\n[VKeyCali]\r\nVKeyPoint_L_TopX=900\r\n"
                      "VKeyPoint_L_TopY=1000\r\nVKeyPoint_L_BottomY=1900\r\n"
                      "VKeyPoint_R_middleX=2700\r\n");
  Start(1024, 768);
  const KeyLayout layout = state.keys;
  form.N6Click();
  EXPECT_TRUE(state.keyCalibration.KeyCalibrationActive);
  EXPECT_TRUE(form.Label13.Visible);
  state.keyCalibration.KeyPointLeftTop = {1.0f, 2.0f};  // a first point taken
  state.keyCalibration.KeyCalibrationStep = 1;
  FindFormCommand("esc")->run(form);
  EXPECT_FALSE(state.keyCalibration.KeyCalibrationActive);
  EXPECT_FALSE(form.Window.Visible);
  EXPECT_FALSE(form.Label13.Visible || form.Label14.Visible || form.Label15.Visible);
  EXPECT_EQ(state.keyCalibration.KeyPointLeftTop, (PointF{900.0f, 1000.0f}));
  EXPECT_EQ(state.keys.KeyMarginLeft, layout.KeyMarginLeft);
  EXPECT_EQ(state.keys.KeyBounds, layout.KeyBounds);

  form.N1Click();
  form.FormKeyDown('A');
  EXPECT_TRUE(state.calibration.Tour.CalibrationActive) << "only Esc cancels";
  form.FormKeyDown(kEscapeKey);
  EXPECT_FALSE(state.calibration.Tour.CalibrationActive);
  EXPECT_FALSE(form.Window.Visible);
}

// The hold message goes to the window found by the configured class and caption, as the user
// wrote them, Chinese included.
TEST_F(SurfaceTest, HoldTimerPostsOneMessagePerHitZoneToTheConfiguredWindow) {
  tp.folder.WriteText("VaziZod.ini",
                      "[PARAMETERS]\r\nAPPClassName=TPanelMain\r\nAPPCaption=电子白板 课件\r\n");
  Start(1024, 768);
  tp.messenger.windows[{"TPanelMain", "电子白板 课件"}] = 0x4242;
  form.Timer3Timer();
  EXPECT_TRUE(tp.messenger.posted.empty()) << "nothing pending";
  state.pointer.KeyHoldPending = true;
  state.keyPlace.Zones.KeyZoneHit = {false, false, true};
  form.Timer3Timer();
  ASSERT_EQ(tp.messenger.posted.size(), 1u);
  EXPECT_EQ(tp.messenger.posted[0], (PostedMessage{0x4242, kHoldKeyMessage, 2, 5000}));
  EXPECT_FALSE(state.pointer.KeyHoldPending);
  EXPECT_FALSE(form.Timer3.Enabled);

  tp.messenger.windows.clear();
  state.pointer.KeyHoldPending = true;
  form.Timer3.Enabled = true;
  form.Timer3Timer();
  EXPECT_EQ(tp.messenger.posted.size(), 1u) << "no window found: nothing posted";
  EXPECT_FALSE(state.pointer.KeyHoldPending) << "the hold is consumed all the same";
}

}  // namespace
}  // namespace raz
