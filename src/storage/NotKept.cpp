#include "NotKept.h"

void TNotKept::Add(const std::string& label, int64_t count) {
  if (count <= 0) return;
  for (auto& [known, n] : counts_)
    if (known == label) {
      n += count;
      return;
    }
  counts_.emplace_back(label, count);
}

int64_t TNotKept::Count(const std::string& label) const {
  for (const auto& [known, n] : counts_)
    if (known == label) return n;
  return 0;
}

std::string TNotKept::Summary() const {
  if (counts_.empty()) return {};
  std::string line = "Not kept:";
  for (std::size_t i = 0; i < counts_.size(); ++i)
    line += (i == 0 ? " " : ", ") + std::to_string(counts_[i].second) + " " + counts_[i].first;
  return line;
}
