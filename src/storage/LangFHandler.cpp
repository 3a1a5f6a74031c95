#include "LangFHandler.h"

#include <algorithm>
#include <string_view>

#include "CodeDecode.h"
#include "FileUtil.h"
#include "core/Convert.h"
#include "core/Errors.h"
#include "core/StrVector.h"

namespace {
constexpr std::string_view kGeneralHeader = "[General]";

// A line the reader would get back differently: a line end or NUL inside it
// splits or cuts it, and the container holds at most kMaxContainerLine.
bool Storable(std::string_view line) {
  return line.size() <= kMaxContainerLine && line.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}
}  // namespace

void TLangFHandler::ClearLessons() {
  Lessons.Clear();
  CurLessonNbr = -1;
  current_.reset();
}

bool TLangFHandler::LoadLangFile(const std::string& fileName) {
  TBytes bytes = ReadFileBytes(fileName);
  if (bytes.empty()) return false;
  return LoadImage(bytes, fileName);
}

bool TLangFHandler::LoadLangBytes(const TBytes& bytes, const std::string& fileName) {
  if (bytes.empty()) return false;
  TBytes image(bytes);
  return LoadImage(image, fileName);
}

bool TLangFHandler::LoadImage(TBytes& image, const std::string& fileName) {
  if (!UnscrambleAndCheck(image)) return false;

  ParseState = 0;
  CurLessonNbr = -1;
  current_.reset();
  // A line takes at least two bytes and fills at most one slot.
  slotsLeft_ = static_cast<int64_t>(image.size() / 2) + 1 + kMaxEmptySlots;
  lessonSlotsClaimed_ = Lessons.Count();

  std::string line;
  int lineNbr = 0;
  try {
    ForEachByteLine(image.data() + 1, image.size() - 2, [&](std::string_view text) {
      ++lineNbr;
      line.assign(text);
      ReadLine(line);
    });
  } catch (TConversionError& error) {
    // The lesson being read is lost; the next load starts afresh.
    error.SetPlace(fileName, lineNbr, line);
    CurLessonNbr = -1;
    current_.reset();
    ParseState = 0;
    throw;
  }
  StoreCurrentLesson();
  CurLessonNbr = -1;
  current_.reset();
  return true;
}

void TLangFHandler::ReadLine(const std::string& line) {
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
      break;
  }
}

void TLangFHandler::StartLesson(const std::string& line) {
  StoreCurrentLesson();
  current_ = std::make_shared<TLesson>();
  CurLessonNbr = -1;
  // The header without its first and last character; the last is not inspected.
  const std::string_view number = line.size() >= 2 ? std::string_view(line).substr(1, line.size() - 2) : std::string_view();
  const int32_t lessonNbr = StrToInt(number);
  if (lessonNbr >= lessonSlotsClaimed_) {
    ClaimSlots(lessonSlotsClaimed_, lessonNbr, "lesson");
    lessonSlotsClaimed_ = lessonNbr + int64_t{1};
  }
  CurLessonNbr = lessonNbr;
  current_->LessonNbr = lessonNbr;
}

void TLangFHandler::AddPearLine(const std::string& line) {
  // An empty line would become an empty pair 0 replacing the real one.
  if (line.empty() || !current_) return;
  auto pear = std::make_shared<TWordPear>(line);
  const int32_t slot = pear->PearNbr;
  if (slot >= current_->SlotCount()) ClaimSlots(current_->SlotCount(), slot, "pair");
  current_->Pears.Put(slot, std::move(pear));
}

void TLangFHandler::StoreCurrentLesson() {
  if (CurLessonNbr >= 0 && current_) Lessons.Put(CurLessonNbr, current_);
}

void TLangFHandler::ClaimSlots(int64_t slotCount, int32_t number, const char* what) {
  const int64_t n = number + int64_t{1} - slotCount;
  if (n <= slotsLeft_) {
    slotsLeft_ -= n;
    return;
  }
  const std::string text = std::to_string(number);
  const std::string most = std::to_string(slotCount - 1 + slotsLeft_);
  throw TConversionError(text, std::string(what) + " number " + text + " is too large for this file (at most " + most + ")");
}

bool TLangFHandler::SaveLangFile(const std::string& fileName) {
  std::size_t expected = 32 + Lang1Name.size() + Lang2Name.size();
  for (const auto& lesson : Lessons.Items()) {
    if (!lesson) continue;
    expected += 16;
    for (const auto& pear : lesson->Pears.Items())
      if (pear) expected += 20 + pear->Word1.size() + pear->Word2.size() + pear->WavFile1.size() + pear->WavFile2.size();
  }

  TContainerBuilder image(expected);
  bool storable = true;
  auto add = [&](const std::string& line) {
    storable = storable && Storable(line);
    image.AddLine(line);
  };
  add(std::string(kGeneralHeader));
  add(Lang1Name + "@" + Lang2Name);
  for (const auto& lesson : Lessons.Items()) {
    if (!lesson) continue;
    add("[" + std::to_string(lesson->LessonNbr) + "]");
    int32_t counter = 0;
    for (const auto& pear : lesson->Pears.Items()) {
      if (!pear) continue;
      pear->PearNbr = counter++;
      add(pear->GetFileLine());
    }
  }
  if (!storable || image.LineCount() < 4) return false;
  return WriteFileBytes(fileName, image.Finish(), true);
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
