#pragma once
// The one place where pen actions become system mouse input.
#include <cstdint>

#include "pointer/pointer_state.h"

namespace raz {

class TForm1;

// The absolute coordinate (0..65535) that the system maps back onto exactly this pixel,
// (coordinate * size) >> 16 being its rule. A screen of no size puts everything at 0.
std::int32_t ToAbsolute(std::int32_t pixel, std::int32_t screenSize);

// Emits the events of one action at a screen pixel; a press in the key margin runs the key
// action instead, and a weak signal (LevelY 30 or less) does nothing at all.
void Inject(TForm1& form, std::int32_t x, std::int32_t y, PointerAction action);

// Lets go of a left button the driver still holds, at the pixel of its last event, and
// forgets the contact so the next touch presses anew. For a board that vanished under a
// pressing pen and for the exit.
void ReleaseLeftButton(TForm1& form);

}  // namespace raz
