// The whole road of a touch, headless: simulated board -> reports -> decoder -> interpolation ->
// default calibration -> pen state machine -> injected mouse events.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "scenario_rig.h"

namespace raz {
namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
// The projected screen covers the whole coded area, so the default calibration is exact and
// every pixel the driver injects should be the pixel the pen is on.
constexpr char kFullBoard[] = "screen 1024 768\nprojection 73.5 73.5 147 147 0 0\n";

struct Event {
  std::uint32_t flags;
  int x, y;
};

std::vector<Event> RunScenario(const std::string& scenarioText) {
  test::ScenarioRig rig(std::string(kFullBoard) + scenarioText);
  rig.Run(200'000);
  std::vector<Event> events;
  for (const auto& e : rig.platform().mouse.events) {
    EXPECT_NE(e.flags & MouseFlags::Absolute, 0u);
    events.push_back({e.flags & ~MouseFlags::Absolute, static_cast<int>((e.dx * kWidth) >> 16),
                      static_cast<int>((e.dy * kHeight) >> 16)});
  }
  return events;
}

// The events as a string of letters, one per event: M move, D left down, U left up,
// R right down, r right up. Runs of moves are kept; it is the order that matters.
std::string Kinds(const std::vector<Event>& events) {
  std::string kinds;
  for (const Event& e : events) {
    switch (e.flags) {
      case MouseFlags::Move: kinds += 'M'; break;
      case MouseFlags::LeftDown: kinds += 'D'; break;
      case MouseFlags::LeftUp: kinds += 'U'; break;
      case MouseFlags::RightDown: kinds += 'R'; break;
      case MouseFlags::RightUp: kinds += 'r'; break;
      default: kinds += '?'; break;
    }
  }
  return kinds;
}

// Raw positions land within a pixel; smoothed ones may trail by one more, since the smoothing
// truncates toward zero.
void ExpectNear(const Event& e, int x, int y, const std::string& what, int tolerance = 1) {
  EXPECT_LE(std::abs(e.x - x), tolerance) << what << " at (" << e.x << ", " << e.y << ")";
  EXPECT_LE(std::abs(e.y - y), tolerance) << what << " at (" << e.x << ", " << e.y << ")";
}

TEST(PenRoad, PressStrokeHoverLiftReleaseAndRightClickInOrderAtThePen) {
  const auto events = RunScenario(
      "near 200 200 20ms\n"               // the pen comes near: the board says "no pen"
      "touch 200 200 100ms\n"             // press
      "stroke 200 200 500 200 300ms\n"    // drag to the right
      "touch 500 200 100ms\n"             // the smoothed stroke catches up with the pen
      "hover 500 200 100ms\n"             // lift into hover
      "stroke hover 500 200 500 400 200ms\n"  // hover down the screen
      "hover 500 400 100ms\n"
      "near 500 400 50ms\n"               // pen leaves: release
      "lift 100ms\n"
      "near 300 600 20ms\n"
      "right 300 600 100ms\n"             // right button held: right clicks
      "near 300 600 50ms\n");
  const std::string kinds = Kinds(events);
  // Nothing before the press (the "no pen" reports before the first touch release nothing);
  // then drag moves, lift, hover moves, release, and right clicks, each at the pen.
  const std::size_t press = kinds.find("MD");
  const std::size_t lift = kinds.find('U', press);
  const std::size_t release = kinds.find("MU", lift);
  const std::size_t right = kinds.find("MRr", release);
  ASSERT_EQ(press, 0u) << kinds;
  ASSERT_NE(lift, std::string::npos) << kinds;
  ASSERT_NE(release, std::string::npos) << kinds;
  ASSERT_NE(right, std::string::npos) << kinds;
  EXPECT_EQ(kinds.substr(press + 2, lift - press - 2), std::string(lift - press - 2, 'M')) << kinds;
  EXPECT_GE(lift - press - 2, 20u) << "a 300 ms stroke drags in many steps: " << kinds;
  EXPECT_EQ(kinds.substr(lift + 1, release - lift - 1), std::string(release - lift - 1, 'M'))
      << kinds;
  EXPECT_GE(release - lift - 1, 5u) << "hover moves: " << kinds;
  const std::string clicks = kinds.substr(right);
  for (std::size_t i = 0; i < clicks.size(); i += 3) EXPECT_EQ(clicks.substr(i, 3), "MRr") << kinds;

  ExpectNear(events[press], 200, 200, "press");
  ExpectNear(events[lift - 1], 500, 200, "last drag move", 2);
  for (std::size_t i = press + 2; i < lift; ++i) {
    EXPECT_LE(std::abs(events[i].y - 200), 1) << "drag move " << i << " leaves the line";
    EXPECT_GE(events[i].x, events[i - 1].x) << "drag move " << i << " goes back";
  }
  ExpectNear(events[lift], 500, 200, "lift");
  ExpectNear(events[release - 1], 500, 400, "last hover move");
  ExpectNear(events[release], 500, 200, "release, at the last touch position", 2);
  ExpectNear(events[right], 500, 400, "right click, at the last position the pen was seen");
}

TEST(PenRoad, APenRestingStillInjectsNothingAfterItsPress) {
  const auto events = RunScenario("near 400 300 20ms\ntouch 400 300 800ms\n");
  const std::string kinds = Kinds(events);
  EXPECT_EQ(kinds, "MD") << "the press only";
  ExpectNear(events[0], 400, 300, "press");
}

TEST(PenRoad, AJumpOfTwoHundredPixelsIsDroppedUntilThePenComesBack) {
  const auto events = RunScenario(
      "near 300 300 20ms\n"
      "touch 300 300 50ms\n"
      "touch 500 300 60ms\n"  // a 200 px jump, held for a while
      "touch 310 300 50ms\n");  // back near the last accepted position
  const std::string kinds = Kinds(events);
  for (const Event& e : events) {
    EXPECT_FALSE(e.x > 400 && e.x < 600) << "the jumped-to position was injected: " << kinds;
  }
  ASSERT_GE(kinds.size(), 3u) << kinds;
  ExpectNear(events.back(), 310, 300, "the pen is followed again after the jump");
}

}  // namespace
}  // namespace raz
