#include "board/block_search.h"

#include <algorithm>
#include <optional>

#include "board/cell_table.h"

namespace raz {
namespace {

constexpr std::int32_t kNoBlock = 0;
constexpr std::int32_t kAnyT3 = -1;

enum class Axes { X, Y, Both };

// Patterns settled before the adjacency rules get to see them: on these the rules would name
// the wrong block, or a block where none can be trusted. Both T3 columns hold the same value
// when only one T3 matches.
struct BlockException {
  Axes axes;
  std::int32_t anchor;
  std::int32_t t1;
  std::int32_t t2;
  std::array<std::int32_t, 2> t3;
  std::int32_t block;
};

constexpr std::array<BlockException, 17> kBlockExceptions{{
    {Axes::Both, 1, 15, 5, {kAnyT3, kAnyT3}, kNoBlock},
    {Axes::Both, 7, 18, 7, {kAnyT3, kAnyT3}, kNoBlock},
    {Axes::Both, 10, 11, 21, {kAnyT3, kAnyT3}, kNoBlock},
    {Axes::X, 1, 3, 21, {1, 5}, 3},
    {Axes::Y, 1, 3, 21, {5, 5}, 3},
    {Axes::X, 4, 4, 3, {20, 20}, 5},
    {Axes::Both, 7, 5, 2, {6, 7}, 5},
    {Axes::Both, 7, 20, 17, {3, 7}, 3},
    {Axes::Both, 13, 9, 8, {13, 13}, 5},
    {Axes::X, 19, 11, 18, {21, 21}, 3},
    {Axes::X, 19, 18, 11, {21, 21}, 3},
    {Axes::Y, 19, 2, 3, {6, 6}, 6},
    {Axes::Y, 19, 3, 2, {6, 6}, 6},
    {Axes::Both, 19, 15, 14, {19, 19}, 5},
    {Axes::Y, 19, 19, 16, {15, 17}, 7},
    {Axes::Both, 19, 19, 18, {14, 14}, 5},
    {Axes::Both, 19, 19, 20, {14, 14}, 5},
}};

struct QuadruplePattern {
  TopSensors top;  // T5 is not part of the pattern and stays 0 here
  std::int32_t block;
};

// Anchor 7 only: rows that neither adjacency rule places.
constexpr std::array<QuadruplePattern, 5> kAnchorSevenPatterns{{
    {{14, 17, 21, 3, 0}, 3},
    {{17, 15, 12, 20, 0}, 4},
    {{17, 20, 12, 15, 0}, 4},
    {{20, 2, 3, 6, 0}, 5},
    {{20, 6, 3, 2, 0}, 5},
}};

// Offsets of (T1, T2, T3) from the anchor's cell: T1 and T2 three cells apart, T3 beside
// one of them.
constexpr std::array<std::array<std::int32_t, 3>, 8> kTripleOffsets{{
    {0, 3, 1},
    {0, 3, -1},
    {1, 4, 0},
    {1, 4, 2},
    {2, -1, 0},
    {2, -1, -2},
    {-1, 2, 0},
    {-1, 2, -2},
}};

bool AppliesTo(Axes axes, Axis axis) {
  return axes == Axes::Both || (axes == Axes::X) == (axis == Axis::X);
}

std::optional<std::int32_t> ExceptionBlock(Axis axis, std::int32_t anchor, const TopSensors& top) {
  for (const BlockException& row : kBlockExceptions) {
    if (!AppliesTo(row.axes, axis) || row.anchor != anchor || row.t1 != top[0] ||
        row.t2 != top[1]) {
      continue;
    }
    if (row.t3[0] == kAnyT3 || row.t3[0] == top[2] || row.t3[1] == top[2]) return row.block;
  }
  return std::nullopt;
}

std::int32_t AnchorCell(std::int32_t block, std::int32_t anchor) {
  return kCellsPerBlock * (block - 1) + anchor;
}

// Cell offset of a sensor within four cells of the anchor's cell in a block.
std::optional<std::int32_t> Offset(std::int32_t block, std::int32_t anchor, std::int32_t sensor) {
  const std::int32_t g = AnchorCell(block, anchor);
  for (std::int32_t k = g - 4; k <= g + 4; ++k) {
    if (SensorAtCell(k) == sensor) return k - g;
  }
  return std::nullopt;
}

bool PairFits(std::int32_t block, std::int32_t anchor, const TopSensors& top) {
  const auto o1 = Offset(block, anchor, top[0]);
  const auto o2 = Offset(block, anchor, top[1]);
  if (!o1 || !o2) return false;
  const auto inPairWindow = [](std::int32_t o) { return o >= -2 && o <= 2; };
  return inPairWindow(*o1) && inPairWindow(*o2) && (*o1 - *o2 == 1 || *o2 - *o1 == 1);
}

bool TripleFits(std::int32_t block, std::int32_t anchor, const TopSensors& top) {
  const auto o1 = Offset(block, anchor, top[0]);
  const auto o2 = Offset(block, anchor, top[1]);
  const auto o3 = Offset(block, anchor, top[2]);
  if (!o1 || !o2 || !o3) return false;
  const std::array<std::int32_t, 3> offsets{*o1, *o2, *o3};
  return std::find(kTripleOffsets.begin(), kTripleOffsets.end(), offsets) != kTripleOffsets.end();
}

template <typename Rule>
std::optional<std::int32_t> FirstBlockWhere(Rule fits) {
  for (std::int32_t block = 1; block <= kCodeBlocks; ++block) {
    if (fits(block)) return block;
  }
  return std::nullopt;
}

std::int32_t QuadrupleBlock(std::int32_t anchor, const TopSensors& top) {
  if (anchor != 7) return kNoBlock;
  for (const QuadruplePattern& pattern : kAnchorSevenPatterns) {
    if (std::equal(pattern.top.begin(), pattern.top.begin() + 4, top.begin())) {
      return pattern.block;
    }
  }
  return kNoBlock;
}

}  // namespace

std::int32_t FindBlock(Axis axis, std::int32_t anchor, const TopSensors& top) {
  if (const auto block = ExceptionBlock(axis, anchor, top)) return *block;
  if (const auto block =
          FirstBlockWhere([&](std::int32_t b) { return PairFits(b, anchor, top); })) {
    return *block;
  }
  if (const auto block =
          FirstBlockWhere([&](std::int32_t b) { return TripleFits(b, anchor, top); })) {
    return *block;
  }
  return QuadrupleBlock(anchor, top);
}

}  // namespace raz
