#pragma once
#include <filesystem>
#include <vector>

// Folders made for one errand (a file about to be saved): they go again,
// innermost first and only while empty, unless the errand keeps them. A
// folder that was there before is never removed.
class TMadeFolders {
 public:
  TMadeFolders() = default;
  TMadeFolders(const TMadeFolders&) = delete;
  TMadeFolders& operator=(const TMadeFolders&) = delete;
  ~TMadeFolders();

  // Makes the folder and the missing folders above it. True when it is a
  // folder afterwards; on failure none of the folders this call made stays.
  bool Make(const std::filesystem::path& dir);
  // The folders made so far stay.
  void Keep();
  // Removes the folders made so far, innermost first, as far as they are
  // empty; a folder something was put into stays, and so do those above it.
  void RemoveMade();
  // Outermost first.
  const std::vector<std::filesystem::path>& Made() const { return made_; }

 private:
  std::vector<std::filesystem::path> made_;
};
