#pragma once
#include <cstdint>
#include <string>
#include <vector>

class TLangFHandler;
struct TSaveResult;

// What a file looked like: enough to tell that someone else replaced or
// changed it. Times and sizes alone can miss a change made within the same
// clock tick; the content hash does not.
struct TFileStamp {
  bool Exists = false;
  uint64_t Size = 0;
  int64_t ModifiedNs = 0;
  uint64_t Inode = 0;
  std::string Hash;

  bool operator==(const TFileStamp&) const = default;
};
// With hash, reads the whole file to hash it; an input/output error raises
// TFileIoError. Exists is false for a file that is not there.
TFileStamp StampFile(const std::string& path, bool hash = true);

// The language file of the exercises as this program read it. Another
// program (quillmere-lang import, a second copy, a sync tool) may replace the
// file meanwhile; a save then must not put the older copy back. So the save
// reads the file afresh and carries over only what this program changed:
// the use and drawn flags of its pairs, by lesson and pair number.
class TLangFileBaseline {
 public:
  enum class TOutcome { Failed, Saved, Merged };

  // Empties the handler and reads the file into it (as LoadLangFile), and
  // remembers the file and the flags of its pairs.
  bool Load(TLangFHandler& handler, const std::string& fileName);
  // Saves the handler to fileName. When the file is the one read by Load and
  // was changed on disk since, it is read afresh, this program's flag
  // changes go onto the pairs it still holds (pairs it lacks are not made
  // again), that is saved and taken into the handler: Merged. Failed: nothing
  // was written (the save failed, or the changed file could not be read).
  // saved, when given, gets why a save failed.
  TOutcome Save(TLangFHandler& handler, const std::string& fileName, TSaveResult* saved = nullptr);
  // The file is no longer the one read (the handler was emptied or changed).
  void Forget();
  const std::string& FileName() const { return fileName_; }

 private:
  void Remember(const TLangFHandler& handler, const std::string& fileName);
  TOutcome SaveOrMerge(TLangFHandler& handler, const std::string& fileName, TSaveResult* saved);

  std::string fileName_;
  TFileStamp stamp_;
  bool known_ = false;
  // Per lesson slot, per pair slot: kPresent, kInUse, kDrawn as read.
  std::vector<std::vector<uint8_t>> flags_;
};
