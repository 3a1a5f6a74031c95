#include "MadeFolders.h"

#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

namespace {
// Removes the folders from the back of the list down to keepCount, stopping
// at the first that will not go (not empty, or the system refuses).
void RemoveDownTo(std::vector<fs::path>& made, std::size_t keepCount) {
  while (made.size() > keepCount) {
    std::error_code ec;
    if (!fs::remove(made.back(), ec) || ec) return;
    made.pop_back();
  }
}
}  // namespace

TMadeFolders::~TMadeFolders() { RemoveMade(); }

bool TMadeFolders::Make(const fs::path& dir) {
  fs::path target = dir.lexically_normal();
  if (!target.has_filename() && target.has_parent_path()) target = target.parent_path();
  if (target.empty()) return false;

  // The missing folders, innermost first, up to the first that exists.
  std::vector<fs::path> missing;
  fs::path p = target;
  for (;;) {
    std::error_code ec;
    const fs::file_status status = fs::status(p, ec);
    if (fs::exists(status)) {
      if (!fs::is_directory(status)) return false;
      break;
    }
    if (ec && ec != std::errc::no_such_file_or_directory) return false;
    missing.push_back(p);
    if (!p.has_parent_path() || p.parent_path() == p) break;
    p = p.parent_path();
  }

  const std::size_t before = made_.size();
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    std::error_code ec;
    const bool created = fs::create_directory(*it, ec);
    if (ec) {
      RemoveDownTo(made_, before);
      return false;
    }
    // Made meanwhile by someone else: theirs, not ours to remove.
    if (created) made_.push_back(*it);
  }
  return true;
}

void TMadeFolders::Keep() { made_.clear(); }

void TMadeFolders::RemoveMade() { RemoveDownTo(made_, 0); }
