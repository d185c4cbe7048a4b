#pragma once
// What the pen is doing at one instant, as the simulated board sees it.
#include <cstdint>

namespace raz::sim {

// Near: the pen is lifted but still close enough for the sensors to pick it up, and the board
// says "no pen". Away: nothing but noise reaches the sensors.
enum class PenContact { Away, Near, Hover, Touch, RightButton };

// A position on the board in cells, measured from the left and the top edge of cell 1. Cell k
// of an axis spans k - 1 .. k, so positions 0.5 to 146.5 lie on the sensor grid.
struct CellPoint {
  double x = 0.0;
  double y = 0.0;
  bool operator==(const CellPoint&) const = default;
};

struct PenState {
  PenContact contact = PenContact::Away;
  CellPoint position;
  double pressure = 1.0;  // scales the coupling peak; 1.0 is a normal stroke
  bool operator==(const PenState&) const = default;
};

// The board's side of the USB link at one instant. The counters are cumulative so that a
// short unplug or a burst of read errors between two polls is not lost.
struct LinkCondition {
  bool plugged = true;
  std::uint32_t unplugCount = 0;
  std::uint32_t readFailures = 0;
  std::uint32_t shortReads = 0;  // reads that bring fewer bytes than are queued
};

// Where the simulated board gets its pen and cable from: a scenario, or a test.
class PenSource {
 public:
  virtual ~PenSource() = default;
  virtual PenState PenAt(std::uint64_t micros) const = 0;
  virtual LinkCondition LinkAt(std::uint64_t /*micros*/) const { return {}; }
};

// A source played from a later start: before it, no pen and a cable that stays in. The
// simulator starts scenarios at the driver's first device watch this way.
class DelayedPenSource : public PenSource {
 public:
  DelayedPenSource(const PenSource& inner, std::uint64_t startMicros)
      : inner_(inner), start_(startMicros) {}
  PenState PenAt(std::uint64_t micros) const override {
    return micros < start_ ? PenState{} : inner_.PenAt(micros - start_);
  }
  LinkCondition LinkAt(std::uint64_t micros) const override {
    return micros < start_ ? LinkCondition{} : inner_.LinkAt(micros - start_);
  }

 private:
  const PenSource& inner_;
  std::uint64_t start_;
};

}  // namespace raz::sim
