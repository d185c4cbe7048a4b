#pragma once
// The report reader of every poll tick: fetch the board's queued bytes, keep one report,
// decode its pen status and both sensor rows, and interpolate the pen position.
#include <string>
#include <vector>

#include "board/block_search.h"

namespace raz {

class TForm1;
struct DriverState;

inline constexpr char kQueuedBytesLabel[] = "toBeRead1: ";

// Runs first in every Timer1 tick.
void ReadAndDecodeReports(TForm1& form);

// Decodes the report in the store into the current sample and interpolates it. A line is
// appended to diagnostics when the X row cannot be placed around sensor 16.
void DecodeStoredReport(DriverState& state, std::vector<std::string>& diagnostics);

// The diagnostic line for an X row that fits no block.
std::string UnplacedRowLine(const TopSensors& top);

}  // namespace raz
