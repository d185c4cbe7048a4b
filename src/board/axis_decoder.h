#pragma once
// One sensor row of a report: rank its sensors, place it in a code block and fix its cell.
#include <cstdint>

#include "board/block_search.h"
#include "board/board_state.h"

namespace raz {

// Store slots of the first sensor of each row.
inline constexpr std::size_t kFirstXSlot = 3;
inline constexpr std::size_t kFirstYSlot = 24;

// A level above this on both of the two strongest sensors marks a double peak.
inline constexpr std::int32_t kDoublePeakLevel = 210;

// Copies the row's levels out of the report store and ranks them: T1..T5 and the anchor.
void RankRow(const ReportSlots& store, std::size_t firstSlot, AxisWork& work);

// Block search and cell fix for a ranked row. False when no block fits; the fix is then made
// with block 0, as the pointer still needs a position to hold.
bool PlaceRow(Axis axis, AxisWork& work, AxisFix& fix);

struct CellFix {
  std::int32_t Cell = 0;  // G, the anchor's cell in the block
  AxisFix Fix;
};

// The cell fix alone, from the block, the anchor and the row's levels.
CellFix FixCell(std::int32_t block, const AxisWork& work);

std::int32_t StrongestLevel(const AxisWork& work);
bool DoublePeak(const AxisWork& work);
bool RowIsEmpty(const AxisWork& work);

}  // namespace raz
