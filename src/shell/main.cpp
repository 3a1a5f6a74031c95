#include <cstdio>

int main() {
  std::puts("Quillmere: the program has no window yet; the libraries and tests are built.");
  return 0;
}
