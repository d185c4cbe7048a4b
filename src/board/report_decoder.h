#pragma once
// Decoding the report in the store: its pen status, then each sensor row ranked, placed in a
// code block and fixed to a cell. A pure function of the report, the pen settings and the
// decoder's own state.
#include <optional>
#include <string>

#include "board/block_search.h"
#include "board/board_state.h"

namespace raz {

struct DecodeResult {
  BoardReading Reading;
  // False when the X row was empty: the position and levels are the previous report's, and
  // there is nothing new to interpolate.
  bool RowsDecoded = false;
  // A line for the diagnostics memo: the X row could not be placed around sensor 16.
  std::optional<std::string> Diagnostic;
};

DecodeResult DecodeReport(const ReportSlots& store, const PenSettings& pen, DecoderState& decoder);

// The diagnostic line for an X row that fits no block.
std::string UnplacedRowLine(const TopSensors& top);

}  // namespace raz
