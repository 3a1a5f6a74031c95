#pragma once
#include <QTemporaryDir>
#include <filesystem>
#include <string>

// A small tmpfs of its own, so a full disk and a read-only folder are real.
// Needs root and mount rights; Mounted() is false without them.
class TScratchMount {
 public:
  explicit TScratchMount(const std::string& options);
  ~TScratchMount();
  TScratchMount(const TScratchMount&) = delete;
  TScratchMount& operator=(const TScratchMount&) = delete;
  bool Mounted() const { return mounted_; }
  std::filesystem::path Path() const;
  bool RemountReadOnly();
  // Fills the disk with a file of the given name until no byte fits.
  bool Fill(const std::string& name);

 private:
  QTemporaryDir dir_;
  bool mounted_ = false;
};
