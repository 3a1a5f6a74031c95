#pragma once
#include <cstdint>
#include <random>
#include <vector>

// The squares that dissolve a card, in a random order.
struct TWipeGrid {
  int width = 0, height = 0;
  int square = 3;
  std::vector<int32_t> cellX, cellY;  // top-left of each cell on the card
  std::vector<int32_t> order;         // cell numbers in dissolve order
  int Count() const { return static_cast<int>(order.size()); }
};

// (height div q + 1) x (width div q + 1) cells, enumerated column by column;
// cells left over when a side is a multiple of q stay at (0, 0).
TWipeGrid BuildWipeGrid(int cardWidth, int cardHeight, int square, std::mt19937& engine);

// One dissolve in progress: which squares each tick fills.
class TCardWipe {
 public:
  static constexpr int kSquaresPerTick = 180;
  // Appends the cell numbers of this tick; true when all cells are done
  // (the position then starts again at 0).
  bool Step(const TWipeGrid& grid, std::vector<int32_t>& cells);
  void Reset() { wipePos = 0; }
  int wipePos = 0;
};
