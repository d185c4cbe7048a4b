#pragma once
// One tick of the poll timer Timer1: read the board, then let the pen state machine see the
// sample if it is trustworthy.

namespace raz {

class TForm1;
struct DriverState;

// Plain reports must carry a signal (LevelY above 30); framed reports must be whole frames
// with their start and end bytes in place. A rejected sample never passes.
bool SampleDrivesPen(const DriverState& state);

// The body of Timer1Timer.
void PollTick(TForm1& form);

}  // namespace raz
