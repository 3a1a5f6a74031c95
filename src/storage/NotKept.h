#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// What an imported file holds that a language file cannot, counted by kind
// in the order first met, for one summary line.
class TNotKept {
 public:
  // label is plural-free English such as "grades" or "word types".
  void Add(const std::string& label, int64_t count = 1);
  int64_t Count(const std::string& label) const;
  bool Empty() const { return counts_.empty(); }
  // "Not kept: 12 word types, 30 grades, 2 images"; empty when nothing was lost.
  std::string Summary() const;

 private:
  std::vector<std::pair<std::string, int64_t>> counts_;
};
