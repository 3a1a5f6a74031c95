#pragma once
#include <cstdint>
#include <string>
#include <vector>

// What an imported file holds that a language file cannot, counted by kind
// in the order first met, for one summary line.
class TNotKept {
 public:
  // The kind in English, one and many: ("grade", "grades").
  void Add(const std::string& one, const std::string& many, int64_t count = 1);
  int64_t Count(const std::string& many) const;
  bool Empty() const { return counts_.empty(); }
  // "Not kept: 12 word types, 30 grades, 2 images"; empty when nothing was lost.
  std::string Summary() const;

 private:
  struct TKind {
    std::string One, Many;
    int64_t Count = 0;
  };
  std::vector<TKind> counts_;
};
