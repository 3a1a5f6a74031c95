#include "NotKept.h"

void TNotKept::Add(const std::string& one, const std::string& many, int64_t count) {
  if (count <= 0) return;
  for (TKind& kind : counts_)
    if (kind.Many == many) {
      kind.Count += count;
      return;
    }
  counts_.push_back({one, many, count});
}

int64_t TNotKept::Count(const std::string& many) const {
  for (const TKind& kind : counts_)
    if (kind.Many == many) return kind.Count;
  return 0;
}

std::string TNotKept::Summary() const {
  if (counts_.empty()) return {};
  std::string line = "Not kept:";
  for (std::size_t i = 0; i < counts_.size(); ++i)
    line += (i == 0 ? " " : ", ") + std::to_string(counts_[i].Count) + " " +
            (counts_[i].Count == 1 ? counts_[i].One : counts_[i].Many);
  return line;
}
