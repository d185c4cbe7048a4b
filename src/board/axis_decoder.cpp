#include "board/axis_decoder.h"

#include <cstdlib>

#include "board/cell_table.h"

namespace raz {
namespace {

// The ranking of a row: stronger first, and among equal levels the higher sensor number first
// (the order a stable ascending sort of the levels leaves when read from its top).
bool RanksAbove(const AxisWork& work, std::int32_t a, std::int32_t b) {
  const std::int32_t levelA = work.Levels[static_cast<std::size_t>(a)];
  const std::int32_t levelB = work.Levels[static_cast<std::size_t>(b)];
  return levelA > levelB || (levelA == levelB && a > b);
}

std::int32_t LevelAtCell(const AxisWork& work, std::int64_t cell) {
  return work.Levels[static_cast<std::size_t>(SensorAtCell(cell))];
}

}  // namespace

void RankRow(const ReportSlots& store, std::size_t firstSlot, AxisWork& work) {
  work.Levels[0] = 0;
  for (std::size_t sensor = 1; sensor <= kSensorsPerAxis; ++sensor) {
    work.Levels[sensor] = store[firstSlot + sensor - 1];
  }
  // Only the five strongest and the strongest anchor sensor are ever used, so they are picked
  // out directly instead of sorting the whole row: this runs twice for every poll.
  auto& top = work.Top;
  std::size_t ranked = 0;
  work.Anchor = 0;
  for (std::int32_t sensor = 1; sensor <= kSensorsPerAxis; ++sensor) {
    if (IsAnchorSensor(sensor) && (work.Anchor == 0 || RanksAbove(work, sensor, work.Anchor))) {
      work.Anchor = sensor;
    }
    std::size_t at = ranked < top.size() ? ranked++ : top.size();
    while (at > 0 && RanksAbove(work, sensor, top[at - 1])) {
      if (at < top.size()) top[at] = top[at - 1];
      --at;
    }
    if (at < top.size()) top[at] = sensor;
  }
}

CellFix FixCell(std::int32_t block, const AxisWork& work) {
  const std::int64_t g = std::llabs(std::int64_t{kCellsPerBlock} * (block - 1) + work.Anchor);
  // Levels around the anchor's cell, paired so that any window of four consecutive entries
  // runs over four consecutive half-cell positions.
  const std::array<std::int32_t, 8> s{LevelAtCell(work, g),     LevelAtCell(work, g - 3),
                                      LevelAtCell(work, g + 1), LevelAtCell(work, g - 2),
                                      LevelAtCell(work, g + 2), LevelAtCell(work, g - 1),
                                      LevelAtCell(work, g + 3), LevelAtCell(work, g)};
  std::size_t w = 4;
  if (s[3] > s[2]) {
    w = 0;
  } else if (s[5] > s[4]) {
    w = 2;
  }
  CellFix result;
  result.Cell = static_cast<std::int32_t>(g);
  AxisFix& fix = result.Fix;
  fix.P1 = static_cast<std::int32_t>(2 * g - 3 + static_cast<std::int64_t>(w));
  fix.P2 = fix.P1 + 1;
  fix.P3 = fix.P1 + 2;
  fix.P4 = fix.P1 + 3;
  fix.A1 = s[w];
  fix.A2 = s[w + 1];
  fix.A3 = s[w + 2];
  fix.A4 = s[w + 3];
  fix.Spread = std::abs(fix.A4 - fix.A1);
  return result;
}

bool PlaceRow(Axis axis, AxisWork& work, AxisFix& fix) {
  work.Block = FindBlock(axis, work.Anchor, work.Top);
  const CellFix cellFix = FixCell(work.Block, work);
  work.Cell = cellFix.Cell;
  fix = cellFix.Fix;
  return work.Block != 0;
}

std::int32_t StrongestLevel(const AxisWork& work) {
  return work.Levels[static_cast<std::size_t>(work.Top[0])];
}

bool DoublePeak(const AxisWork& work) {
  return work.Levels[static_cast<std::size_t>(work.Top[0])] > kDoublePeakLevel &&
         work.Levels[static_cast<std::size_t>(work.Top[1])] > kDoublePeakLevel;
}

bool RowIsEmpty(const AxisWork& work) {
  for (std::size_t sensor = 1; sensor <= kSensorsPerAxis; ++sensor) {
    if (work.Levels[sensor] != 0) return false;
  }
  return true;
}

}  // namespace raz
