#include "LangFileBaseline.h"

#include "DurableFile.h"

#include <QCryptographicHash>
#include <filesystem>

#include "FileUtil.h"
#include "LangFHandler.h"
#include "core/Errors.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {
constexpr uint8_t kPresent = 1;
constexpr uint8_t kInUse = 2;
constexpr uint8_t kDrawn = 4;

uint8_t FlagsOf(const TWordPear& pair) {
  return static_cast<uint8_t>(kPresent | (pair.InUse ? kInUse : 0) | (pair.Drawn ? kDrawn : 0));
}

bool SameStat(const TFileStamp& a, const TFileStamp& b) {
  return a.Size == b.Size && a.ModifiedNs == b.ModifiedNs && a.Inode == b.Inode;
}

// Whether the file still is what the stamp describes; the hash (a read of
// the whole file) only when size, time and inode agree.
bool Unchanged(const TFileStamp& stamp, const std::string& path) {
  if (!stamp.Exists) return false;
  if (!SameStat(StampFile(path, false), stamp)) return false;
  return StampFile(path) == stamp;
}
}  // namespace

TFileStamp StampFile(const std::string& path, bool hash) {
  TFileStamp stamp;
#ifndef _WIN32
  struct stat info {};
  if (::stat(NativePath(path).c_str(), &info) != 0) return stamp;
  stamp.Size = static_cast<uint64_t>(info.st_size);
  stamp.ModifiedNs = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  stamp.Inode = static_cast<uint64_t>(info.st_ino);
#else
  std::error_code error;
  const auto native = NativePath(path);
  if (!std::filesystem::is_regular_file(native, error)) return stamp;
  stamp.Size = std::filesystem::file_size(native, error);
  stamp.ModifiedNs = std::filesystem::last_write_time(native, error).time_since_epoch().count();
#endif
  if (!hash) {
    stamp.Exists = true;
    return stamp;
  }
  QCryptographicHash sha(QCryptographicHash::Sha1);
  stamp.Exists = ReadFileBlocks(path, [&sha](const uint8_t* data, std::size_t size) {
    sha.addData(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  });
  if (stamp.Exists) stamp.Hash = sha.result().toHex().toStdString();
  return stamp;
}

void TLangFileBaseline::Forget() {
  fileName_.clear();
  known_ = false;
  flags_.clear();
}

bool TLangFileBaseline::Load(TLangFHandler& handler, const std::string& fileName) {
  Forget();
  handler.ClearLessons();
  // The stamp is taken around the read: a file replaced while it was read is
  // taken as changed at the next save.
  const TFileStamp before = StampFile(fileName, false);
  if (!handler.LoadLangFile(fileName)) return false;
  Remember(handler, fileName);
  known_ = known_ && SameStat(before, stamp_);
  return true;
}

void TLangFileBaseline::Remember(const TLangFHandler& handler, const std::string& fileName) {
  fileName_ = fileName;
  flags_.assign(static_cast<std::size_t>(handler.LessonSlotCount()), {});
  for (int32_t l = 0; l < handler.LessonSlotCount(); ++l) {
    const auto lesson = handler.GetLesson(l);
    if (!lesson) continue;
    std::vector<uint8_t>& pairFlags = flags_[static_cast<std::size_t>(l)];
    pairFlags.assign(static_cast<std::size_t>(lesson->SlotCount()), 0);
    for (int32_t p = 0; p < lesson->SlotCount(); ++p)
      if (const auto pair = lesson->GetPear(p)) pairFlags[static_cast<std::size_t>(p)] = FlagsOf(*pair);
  }
  try {
    stamp_ = StampFile(fileName);
    known_ = stamp_.Exists;
  } catch (const TFileIoError&) {
    // Not readable just now: the next save takes the file as changed.
    stamp_ = {};
    known_ = false;
  }
}

TLangFileBaseline::TOutcome TLangFileBaseline::Save(TLangFHandler& handler, const std::string& fileName,
                                                    TSaveResult* saved) {
  try {
    return SaveOrMerge(handler, fileName, saved);
  } catch (const TFileIoError& error) {
    if (saved != nullptr) *saved = TSaveResult{TSaveFault::System, 0, "read", error.Reason()};
    // The file could not be read to compare or merge: nothing was written.
    return TOutcome::Failed;
  }
}

TLangFileBaseline::TOutcome TLangFileBaseline::SaveOrMerge(TLangFHandler& handler, const std::string& fileName,
                                                           TSaveResult* saved) {
  if (fileName != fileName_ || (known_ && Unchanged(stamp_, fileName))) {
    if (!handler.SaveLangFile(fileName, saved)) return TOutcome::Failed;
    // What was just written is what the program holds now.
    if (fileName == fileName_) Remember(handler, fileName);
    return TOutcome::Saved;
  }

  TLangFHandler fresh;
  fresh.SetLangNames(handler.GetLang1Name(), handler.GetLang2Name());
  try {
    if (!fresh.LoadLangFile(fileName)) {
      // Gone or no longer a language file: this program's copy is the best
      // there is.
      if (!handler.SaveLangFile(fileName, saved)) return TOutcome::Failed;
      Remember(handler, fileName);
      return TOutcome::Saved;
    }
  } catch (const TConversionError& error) {
    // A line the reader refuses: writing would lose the rest of that file.
    if (saved != nullptr) *saved = TSaveResult{TSaveFault::System, 0, "read", error.Describe()};
    return TOutcome::Failed;
  }

  for (int32_t l = 0; l < handler.LessonSlotCount(); ++l) {
    const auto lesson = handler.GetLesson(l);
    const auto freshLesson = fresh.GetLesson(l);
    if (!lesson || !freshLesson || static_cast<std::size_t>(l) >= flags_.size()) continue;
    const std::vector<uint8_t>& pairFlags = flags_[static_cast<std::size_t>(l)];
    for (int32_t p = 0; p < lesson->SlotCount() && static_cast<std::size_t>(p) < pairFlags.size(); ++p) {
      const uint8_t read = pairFlags[static_cast<std::size_t>(p)];
      const auto pair = lesson->GetPear(p);
      const auto freshPair = freshLesson->GetPear(p);
      if (!(read & kPresent) || !pair || !freshPair) continue;
      const uint8_t now = FlagsOf(*pair);
      if ((now ^ read) & kInUse) freshPair->InUse = pair->InUse;
      if ((now ^ read) & kDrawn) freshPair->Drawn = pair->Drawn;
    }
  }
  if (!fresh.SaveLangFile(fileName, saved)) return TOutcome::Failed;
  handler.ClearLessons();
  handler.SetLangNames(fresh.GetLang1Name(), fresh.GetLang2Name());
  handler.Encoding = fresh.Encoding;
  handler.Lang1Locale = fresh.Lang1Locale;
  handler.Lang2Locale = fresh.Lang2Locale;
  for (int32_t l = 0; l < fresh.LessonSlotCount(); ++l)
    if (auto lesson = fresh.GetLesson(l)) handler.PutLesson(lesson);
  Remember(handler, fileName);
  return TOutcome::Merged;
}
