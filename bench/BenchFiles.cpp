#include "BenchFiles.h"

#include <QTemporaryDir>
#include <cstdlib>
#include <map>
#include <random>

#include "core/CodePage.h"
#include "core/Word_Pear.h"
#include "storage/CodeDecode.h"
#include "storage/FileUtil.h"
#include "storage/LangFileEncoding.h"

namespace {
const char* const kWords[] = {"the", "house", "green", "tree", "to", "go", "a", "little", "dog", "red",
                              "we", "have", "been", "there", "yesterday", "morning", "bread", "water", "book", "school"};
const char* const kWorte[] = {"das", "Haus", "gr\xC3\xBCn", "Baum", "gehen", "ein", "kleiner", "Hund", "rot", "wir",
                              "haben", "gestern", "Morgen", "Brot", "Wasser", "Buch", "Schule", "sch\xC3\xB6n", "\xC3\xBC" "ber", "viel"};
// The same words in Russian: about twice the bytes of the German in UTF-8.
const char* const kSlova[] = {
    "\xD1\x8D\xD1\x82\xD0\xBE",                                                  // это
    "\xD0\xB4\xD0\xBE\xD0\xBC",                                                  // дом
    "\xD0\xB7\xD0\xB5\xD0\xBB\xD1\x91\xD0\xBD\xD1\x8B\xD0\xB9",                          // зелёный
    "\xD0\xB4\xD0\xB5\xD1\x80\xD0\xB5\xD0\xB2\xD0\xBE",                                // дерево
    "\xD0\xB8\xD0\xB4\xD1\x82\xD0\xB8",                                            // идти
    "\xD0\xBE\xD0\xB4\xD0\xB8\xD0\xBD",                                            // один
    "\xD0\xBC\xD0\xB0\xD0\xBB\xD0\xB5\xD0\xBD\xD1\x8C\xD0\xBA\xD0\xB8\xD0\xB9",                // маленький
    "\xD1\x81\xD0\xBE\xD0\xB1\xD0\xB0\xD0\xBA\xD0\xB0",                                // собака
    "\xD0\xBA\xD1\x80\xD0\xB0\xD1\x81\xD0\xBD\xD1\x8B\xD0\xB9",                          // красный
    "\xD0\xBC\xD1\x8B",                                                        // мы
    "\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x82\xD1\x8C",                                      // иметь
    "\xD0\xB2\xD1\x87\xD0\xB5\xD1\x80\xD0\xB0",                                      // вчера
    "\xD1\x83\xD1\x82\xD1\x80\xD0\xBE",                                            // утро
    "\xD1\x85\xD0\xBB\xD0\xB5\xD0\xB1",                                            // хлеб
    "\xD0\xB2\xD0\xBE\xD0\xB4\xD0\xB0",                                            // вода
    "\xD0\xBA\xD0\xBD\xD0\xB8\xD0\xB3\xD0\xB0",                                      // книга
    "\xD1\x88\xD0\xBA\xD0\xBE\xD0\xBB\xD0\xB0",                                      // школа
    "\xD0\xBA\xD1\x80\xD0\xB0\xD1\x81\xD0\xB8\xD0\xB2\xD1\x8B\xD0\xB9",                    // красивый
    "\xD0\xBD\xD0\xB0\xD0\xB4",                                                  // над
    "\xD0\xBC\xD0\xBD\xD0\xBE\xD0\xB3\xD0\xBE"};                                     // много

std::string Phrase(std::mt19937& rng, const char* const (&words)[20]) {
  std::string phrase;
  const int n = 1 + static_cast<int>(rng() % 4);
  for (int i = 0; i < n; ++i) {
    if (i > 0) phrase += ' ';
    phrase += words[rng() % 20];
  }
  return phrase;
}

}  // namespace

// Writes the file straight from generated lines, so that generating leaves
// nothing behind in the heap before memory is measured. The lines are made
// in UTF-8 and written in the file's encoding; the random draws are the
// same for every kind, so the files hold the same pairs.
static std::string MakeFile(const std::string& folder, int pairs, TBenchFile kind) {
  const bool legacy = kind == TBenchFile::LegacyGerman;
  const bool russian = kind == TBenchFile::Utf8Russian;
  const char* const suffix[] = {"", "-utf8", "-utf8-ru"};
  const std::string name =
      folder + "/bench" + std::to_string(pairs) + suffix[static_cast<int>(kind)] + ".lang";
  std::mt19937 rng(static_cast<unsigned>(pairs));
  TContainerBuilder image(static_cast<std::size_t>(pairs) * 64);
  std::string bytes;
  const auto add = [&](const std::string& line) {
    if (legacy && !Utf8ToCp1252(line, bytes)) std::abort();
    image.AddLine(legacy ? bytes : line);
  };
  if (!legacy) image.AddLine(kUtf8EncodingLine);
  image.AddLine("[General]");
  image.AddLine(russian ? "English@Russian" : "English@German");
  const int perLesson = pairs / 100;
  TWordPear pear;
  for (int lesson = 1; lesson <= 100; ++lesson) {
    image.AddLine("[" + std::to_string(lesson) + "]");
    for (int i = 0; i < perLesson; ++i) {
      pear.PearNbr = i;
      pear.Word1 = Phrase(rng, kWords);
      pear.Word2 = Phrase(rng, russian ? kSlova : kWorte);
      const bool sound = rng() % 4 == 0;
      pear.WavFile1 = sound ? "\\LangFiles\\Eng_Ger\\e" + std::to_string(i) + ".wav" : " ";
      pear.WavFile2 = sound ? "\\LangFiles\\Eng_Ger\\g" + std::to_string(i) + ".wav" : " ";
      pear.InUse = rng() % 4 != 0;
      pear.Drawn = pear.InUse && rng() % 3 == 0;
      add(pear.GetFileLine());
    }
  }
  if (!WriteFileBytes(name, image.Finish(), true)) std::abort();
  return name;
}

const std::string& FileOf(int pairs, TBenchFile kind) {
  static QTemporaryDir folder;
  static std::map<std::pair<int, TBenchFile>, std::string> files;
  const auto key = std::make_pair(pairs, kind);
  auto it = files.find(key);
  if (it == files.end()) it = files.emplace(key, MakeFile(folder.path().toStdString(), pairs, kind)).first;
  return it->second;
}
