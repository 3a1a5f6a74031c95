#include "WipeGrid.h"

#include "core/ArrayUtil.h"

TWipeGrid BuildWipeGrid(int cardWidth, int cardHeight, int square, std::mt19937& engine) {
  TWipeGrid g;
  g.width = cardWidth;
  g.height = cardHeight;
  g.square = square;
  const int n = (cardHeight / square + 1) * (cardWidth / square + 1);
  g.cellX.assign(n, 0);
  g.cellY.assign(n, 0);
  int i = 0;
  for (int x = 0; x < cardWidth; x += square)
    for (int y = 0; y < cardHeight; y += square) {
      g.cellX[i] = x;
      g.cellY[i] = y;
      ++i;
    }
  g.order.resize(n);
  for (int k = 0; k < n; ++k) g.order[k] = k;
  Shuffle(g.order, engine);
  return g;
}

bool TCardWipe::Step(const TWipeGrid& grid, std::vector<int32_t>& cells) {
  for (int k = 0; k < kSquaresPerTick && wipePos < grid.Count(); ++k) cells.push_back(grid.order[wipePos++]);
  if (wipePos < grid.Count()) return false;
  wipePos = 0;
  return true;
}
