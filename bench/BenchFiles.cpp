#include "BenchFiles.h"

#include <QTemporaryDir>
#include <cstdlib>
#include <map>
#include <random>

#include "core/Word_Pear.h"
#include "storage/CodeDecode.h"
#include "storage/FileUtil.h"

namespace {
const char* const kWords[] = {"the", "house", "green", "tree", "to", "go", "a", "little", "dog", "red",
                              "we", "have", "been", "there", "yesterday", "morning", "bread", "water", "book", "school"};
const char* const kWorte[] = {"das", "Haus", "gr\xFCn", "Baum", "gehen", "ein", "kleiner", "Hund", "rot", "wir",
                              "haben", "gestern", "Morgen", "Brot", "Wasser", "Buch", "Schule", "sch\xF6n", "\xFC" "ber", "viel"};

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
// nothing behind in the heap before memory is measured.
static std::string MakeFile(const std::string& folder, int pairs) {
  const std::string name = folder + "/bench" + std::to_string(pairs) + ".lang";
  std::mt19937 rng(static_cast<unsigned>(pairs));
  TContainerBuilder image(static_cast<std::size_t>(pairs) * 64);
  image.AddLine("[General]");
  image.AddLine("English@German");
  const int perLesson = pairs / 100;
  TWordPear pear;
  for (int lesson = 1; lesson <= 100; ++lesson) {
    image.AddLine("[" + std::to_string(lesson) + "]");
    for (int i = 0; i < perLesson; ++i) {
      pear.PearNbr = i;
      pear.Word1 = Phrase(rng, kWords);
      pear.Word2 = Phrase(rng, kWorte);
      const bool sound = rng() % 4 == 0;
      pear.WavFile1 = sound ? "\\LangFiles\\Eng_Ger\\e" + std::to_string(i) + ".wav" : " ";
      pear.WavFile2 = sound ? "\\LangFiles\\Eng_Ger\\g" + std::to_string(i) + ".wav" : " ";
      pear.InUse = rng() % 4 != 0;
      pear.Drawn = pear.InUse && rng() % 3 == 0;
      image.AddLine(pear.GetFileLine());
    }
  }
  if (!WriteFileBytes(name, image.Finish(), true)) std::abort();
  return name;
}

const std::string& FileOf(int pairs) {
  static QTemporaryDir folder;
  static std::map<int, std::string> files;
  auto it = files.find(pairs);
  if (it == files.end()) it = files.emplace(pairs, MakeFile(folder.path().toStdString(), pairs)).first;
  return it->second;
}
