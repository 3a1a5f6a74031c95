#include "LangFHandler.h"

#include <algorithm>
#include <exception>
#include <string_view>

#include "CodeDecode.h"
#include "LangFileEncoding.h"
#include "FileUtil.h"
#include "LangSaveGuard.h"
#include "core/CodePage.h"
#include "core/Convert.h"
#include "core/Errors.h"
#include "core/PearArena.h"
#include "core/StrVector.h"

namespace {
constexpr std::string_view kGeneralHeader = "[General]";
}  // namespace

void TLangFHandler::ClearLessons() {
  Lessons.Clear();
  CurLessonNbr = -1;
  current_.reset();
}

bool TLangFHandler::LoadLangFile(const std::string& fileName) {
  return Load([&](const TByteSink& sink) { return ReadFileBlocks(fileName, sink); }, fileName);
}

bool TLangFHandler::LoadLangBytes(const TBytes& bytes, const std::string& fileName) {
  return Load(
      [&](const TByteSink& sink) {
        constexpr std::size_t kBlock = 1 << 18;
        for (std::size_t at = 0; at < bytes.size(); at += kBlock) sink(bytes.data() + at, std::min(kBlock, bytes.size() - at));
        return true;
      },
      fileName);
}

// The file is read block by block into a second handler, whose lessons and
// names are taken over only when header and checksum hold; so a damaged file
// changes nothing although its lines are read before its end is known.
bool TLangFHandler::Load(const std::function<bool(const TByteSink&)>& source, const std::string& fileName) {
  TLangFHandler staging;
  TPearArena arena;
  staging.arena_ = &arena;
  staging.Lang1Name = Lang1Name;
  staging.Lang2Name = Lang2Name;
  staging.slotsLeft_ = 1 + kMaxEmptySlots;

  std::exception_ptr error;
  const TContainerReader* lines = nullptr;
  TContainerReader reader([&](std::string_view line) {
    if (error) return;
    try {
      staging.ReadLine(line);
    } catch (TConversionError& e) {
      // The line as the reader saw it, in UTF-8 like every message.
      e.SetPlace(fileName, staging.lineNbr_,
                 staging.Encoding == TTextEncoding::Cp1252 ? Cp1252ToUtf8(line) : std::string(line));
      error = std::current_exception();
      return;
    }
    // The reader found these while looking for the line's end anyway.
    if (lines->LineCutAtNul()) staging.NoteLoss(TLossKind::TextCutAtNul);
    if (lines->LineEndBroken()) staging.NoteLoss(TLossKind::BrokenLineEnd);
  });
  lines = &reader;
  const bool found = source([&](const uint8_t* data, std::size_t size) {
    // A line takes at least two bytes and fills at most one slot.
    staging.slotsLeft_ += static_cast<int64_t>(size / 2);
    reader.Feed(data, size);
    if (error) reader.StopLines();
  });
  if (!found || !reader.Finish()) return false;

  // After a malformed number the lesson being read is lost.
  if (error)
    staging.NoteLoss(TLossKind::ReadStopped);
  else
    staging.StoreCurrentLesson();
  losses_ = std::move(staging.losses_);
  loadedFile_ = fileName;
  Lang1Name = std::move(staging.Lang1Name);
  Lang2Name = std::move(staging.Lang2Name);
  Lang1Locale = std::move(staging.Lang1Locale);
  Lang2Locale = std::move(staging.Lang2Locale);
  ParseState = error ? 0 : staging.ParseState;
  Encoding = staging.Encoding;
  const auto& lessons = staging.Lessons.Items();
  for (std::size_t n = 0; n < lessons.size(); ++n)
    if (lessons[n]) Lessons.Put(static_cast<int32_t>(n), lessons[n]);
  CurLessonNbr = -1;
  current_.reset();
  if (error) std::rethrow_exception(error);
  return true;
}

void TLangFHandler::ReadLine(std::string_view line) {
  ++lineNbr_;
  if (lineNbr_ == 1) {
    Encoding = line == kUtf8EncodingLine ? TTextEncoding::Utf8 : TTextEncoding::Cp1252;
    if (Encoding == TTextEncoding::Utf8) return;
  }
  if (Encoding == TTextEncoding::Cp1252) {
    // The buffer only grows; an ASCII line is copied at memory speed, which
    // costs what checking it first would.
    if (converted_.size() < 3 * line.size()) converted_.resize(3 * line.size());
    const char* end = Cp1252ToUtf8Into(line, converted_.data());
    line = std::string_view(converted_.data(), static_cast<std::size_t>(end - converted_.data()));
  }
  if (line == kGeneralHeader) {
    ParseState = 1;
  } else if (!line.empty() && line[0] == '[' && (ParseState == 2 || ParseState == 4)) {
    ParseState = 3;
    StartLesson(line);
  }

  switch (ParseState) {
    case 1:
      ParseState = 2;
      break;
    case 2: {
      if (namesRead_) NoteLoss(TLossKind::NamesReplaced);
      namesRead_ = true;
      const std::size_t at = line.find('@');
      if (at == std::string::npos) {
        Lang1Name.clear();
        Lang2Name = line;
      } else {
        Lang1Name = line.substr(0, at);
        Lang2Name = line.substr(at + 1);
      }
      break;
    }
    case 3:
      ParseState = 4;
      break;
    case 4:
      AddPearLine(line);
      break;
    default:
      // Before the first "[General]": ignored, but for the locales.
      if (ReadLocales(line)) break;
      if (!line.empty()) NoteLoss(TLossKind::LinesBeforeGeneral);
      break;
  }
}

bool TLangFHandler::ReadLocales(std::string_view line) {
  if (line.substr(0, kLocalesPrefix.size()) != kLocalesPrefix) return false;
  const std::string_view both = line.substr(kLocalesPrefix.size());
  const std::size_t at = both.find('@');
  if (at == std::string_view::npos) return false;
  const std::string_view first = both.substr(0, at), second = both.substr(at + 1);
  // A line that is not two locales is kept among the lines left out.
  if (!IsLocaleName(first) || !IsLocaleName(second)) return false;
  Lang1Locale = first;
  Lang2Locale = second;
  return true;
}

void TLangFHandler::StartLesson(std::string_view line) {
  StoreCurrentLesson();
  current_ = std::make_shared<TLesson>();
  CurLessonNbr = -1;
  // The header without its first and last character; the last is not inspected.
  const std::string_view number = line.size() >= 2 ? std::string_view(line).substr(1, line.size() - 2) : std::string_view();
  const int32_t lessonNbr = StrToInt(number);
  if (lessonNbr >= lessonSlotsClaimed_) {
    ClaimSlots(lessonSlotsClaimed_, lessonNbr, "lesson");
    lessonSlotsClaimed_ = lessonNbr + int64_t{1};
  } else if (lessonNbr >= 0 && Lessons.Get(lessonNbr)) {
    losses_.Add(TLossKind::LessonReplaced, lessonNbr, lineNbr_);
  }
  // A negative lesson is read but never stored.
  if (lessonNbr < 0) losses_.Add(TLossKind::NegativeLesson, lessonNbr, lineNbr_);
  CurLessonNbr = lessonNbr;
  current_->LessonNbr = lessonNbr;
}

void TLangFHandler::AddPearLine(std::string_view line) {
  // An empty line would become an empty pair 0 replacing the real one.
  if (line.empty() || !current_) return;
  auto pear = arena_ ? arena_->Make(line) : std::make_shared<TWordPear>(line);
  const int32_t slot = pear->PearNbr;
  if (slot >= current_->SlotCount())
    ClaimSlots(current_->SlotCount(), slot, "pair");
  else if (slot < 0 || current_->Pears.Get(slot))
    NoteLoss(TLossKind::PairReplaced);  // the earlier pair, or this one for a negative number
  current_->Pears.Put(slot, std::move(pear));
}

void TLangFHandler::StoreCurrentLesson() {
  if (CurLessonNbr >= 0 && current_) Lessons.Put(CurLessonNbr, current_);
}

void TLangFHandler::RefuseSlots(int64_t slotCount, int32_t number, const char* what) const {
  const std::string text = std::to_string(number);
  const std::string most = std::to_string(slotCount - 1 + slotsLeft_);
  throw TConversionError(text, std::string(what) + " number " + text + " is too large for this file (at most " + most + ")");
}

bool TLangFHandler::SaveLangFile(const std::string& fileName, TSaveResult* result) {
  std::size_t expected = 32 + Lang1Name.size() + Lang2Name.size();
  for (const auto& lesson : Lessons.Items()) {
    if (!lesson) continue;
    expected += 16;
    for (const auto& pear : lesson->Pears.Items())
      if (pear) expected += 20 + pear->Word1.size() + pear->Word2.size() + pear->WavFile1.size() + pear->WavFile2.size();
  }

  TContainerBuilder image(expected);
  // A line that would not read back as written is never written, nor one
  // with a character a Windows-1252 file has no byte for.
  const bool legacy = Encoding == TTextEncoding::Cp1252;
  bool storable = true;
  bool encodable = true;
  auto add = [&](std::string_view line) {
    if (!legacy) {
      storable = storable && FitsContainerLine(line);
      image.AddLine(line);
      return;
    }
    // Converted straight into the image. CR, LF and NUL are the same bytes
    // in both encodings, and the bytes only get fewer: only the length is
    // checked again.
    const int64_t bytes = image.AddLineAsCp1252(line);
    encodable = encodable && bytes >= 0;
    storable = storable && bytes <= static_cast<int64_t>(kMaxContainerLine) && !SplitsContainerLine(line);
  };
  if (!legacy) image.AddLine(kUtf8EncodingLine);
  // Only valid locales, so the line reads back as written.
  if ((!Lang1Locale.empty() || !Lang2Locale.empty()) && IsLocaleName(Lang1Locale) && IsLocaleName(Lang2Locale))
    image.AddLine(std::string(kLocalesPrefix) + Lang1Locale + "@" + Lang2Locale);
  const std::size_t headLines = image.LineCount();
  add(kGeneralHeader);
  add(Lang1Name + "@" + Lang2Name);
  std::string line;
  for (const auto& lesson : Lessons.Items()) {
    if (!lesson) continue;
    add("[" + std::to_string(lesson->LessonNbr) + "]");
    int32_t counter = 0;
    for (const auto& pear : lesson->Pears.Items()) {
      if (!pear) continue;
      pear->PearNbr = counter++;
      line.clear();
      pear->AppendFileLine(line);
      add(line);
    }
  }
  if (!storable || !encodable || image.LineCount() - headLines < 4) {
    if (result != nullptr)
      *result = {TSaveFault::NotStorable, 0, "content",
                 !encodable  ? "a character has no place in Windows-1252, the encoding of this file"
                 : !storable ? "a line is too long for a language file"
                             : "no lesson to write"};
    return false;
  }
  // The guard keeps backups of what is replaced, and may refuse the save
  // when it could not keep what the last load of this file dropped.
  TLangSaveGuard* guard = LangSaveGuard();
  const bool sameFile = fileName == loadedFile_;
  if (guard && !guard->BeforeLangSave(fileName, sameFile ? losses_ : TLoadLosses())) {
    if (result != nullptr)
      *result = {TSaveFault::System, 0, "backup", "the parts the last reading left out could not be backed up"};
    return false;
  }
  const bool written = WriteFileBytes(fileName, image.Finish(), true, result);
  if (guard) guard->AfterLangSave(fileName, written);
  if (written && sameFile) losses_.Clear();
  return written;
}

bool TLangFHandler::DeleteLangFile(const std::string& fileName) { return DeleteFileAt(fileName); }

void TLangFHandler::SetLangNames(const std::string& lang1, const std::string& lang2) {
  Lang1Name = lang1;
  Lang2Name = lang2;
}

bool TLangFHandler::PutLesson(std::shared_ptr<TLesson> lesson) {
  if (!lesson) return false;
  const int32_t lessonNbr = lesson->LessonNbr;
  return Lessons.Put(lessonNbr, std::move(lesson));
}

void TLangFHandler::ClearAllDrawn() {
  for (const auto& lesson : Lessons.Items())
    if (lesson) lesson->ClearDrawn();
}

bool TLangFHandler::Storable(std::string* badChar) const {
  if (Encoding == TTextEncoding::Utf8) return true;
  std::string bytes;
  char32_t bad = 0;
  auto fits = [&](std::string_view text) {
    if (IsAscii(text) || Utf8ToCp1252(text, bytes, &bad)) return true;
    if (badChar != nullptr) *badChar = QStringToUtf8(QString::fromUcs4(&bad, 1));
    return false;
  };
  if (!fits(Lang1Name) || !fits(Lang2Name)) return false;
  for (const auto& lesson : Lessons.Items()) {
    if (!lesson) continue;
    for (const auto& pear : lesson->Pears.Items())
      if (pear && (!fits(pear->Word1) || !fits(pear->Word2) || !fits(pear->WavFile1) || !fits(pear->WavFile2)))
        return false;
  }
  return true;
}
