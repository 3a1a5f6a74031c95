#pragma once
#include <memory>
#include <string_view>
#include <vector>

#include "TableFormat.h"
#include "core/Lesson.h"
#include "core/TextEncoding.h"

// Reads a table of phrase pairs into lessons. The header row names the
// columns in any order:
//   lesson, word1, word2   required
//   wav1, wav2             an empty or missing field means no sound (" ")
//   use, drawn             0 or 1; a missing use means 1, a missing drawn 0
//   pair                   ignored: pairs are numbered 0, 1, 2, ... in row
//                          order within each lesson
// Rows with nothing in them are skipped.

// The highest lesson number a table may use; the language file keeps its
// lessons by number, so a huge number would cost memory for every slot below.
constexpr int32_t kMaxTableLessonNbr = 99999;

struct TTableImport {
  // Ascending lesson number, each with at least one pair; empty when any
  // error was found.
  std::vector<std::shared_ptr<TLesson>> Lessons;
  std::vector<TTableError> Errors;
  int32_t PairCount = 0;
  // What the source held that a language file cannot ("Not kept: 3 grades"),
  // for a KDE word list; empty for a table, which holds nothing more.
  std::string NotKept;

  bool Ok() const { return Errors.empty(); }
};

// The whole table is checked; every rejected row is listed in Errors (a
// malformed CSV quote stops the reading at that row). The texts stay UTF-8;
// target is the encoding of the file they are meant for, which decides what
// a field may hold and how long a pair line is in the file.
// missingLesson above 0: the lesson column may be missing, and every row
// then goes into that lesson (a table made for one lesson).
TTableImport ImportTable(std::string_view table, TTableFormat format,
                         TTextEncoding target = TTextEncoding::Utf8, int32_t missingLesson = 0);
