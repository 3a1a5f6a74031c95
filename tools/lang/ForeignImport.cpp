#include "ForeignImport.h"

#include <filesystem>

#include "CommandSupport.h"
#include "ToolFailure.h"
#include "core/Convert.h"
#include "storage/AnkiImport.h"
#include "storage/ImportedSound.h"
#include "storage/KvtmlImport.h"
#include "storage/TableImport.h"

namespace {

// A text export of some thousand notes is a few megabytes.
constexpr uintmax_t kMaxAnkiBytes = uintmax_t{64} << 20;

int NumberOption(const TToolArgs& args, const std::string& option, int byDefault) {
  const auto given = args.Values.find(option);
  if (given == args.Values.end()) return byDefault;
  int32_t number = 0;
  if (!TryStrToInt(given->second, number) || number < 0)
    Fail(kExitRejected, option + " " + given->second + ": not a number from 0 up");
  return number;
}

// The sound name to store for what the imported file names, or empty.
std::string KeptSound(const std::string& reference, const std::string& inStored, const std::string& outStored) {
  const std::string path = FindReferencedSound(reference, inStored);
  return path.empty() ? path : SoundNameFor(path, outStored);
}

int WriteImported(const TToolArgs& args, const TImportedLessons& imported, TTextEncoding target, std::ostream& out) {
  const std::string& inArg = args.Files[0];
  const std::string& outArg = args.Files[1];
  if (!imported.Ok())
    Reject(inArg, imported.Errors,
           imported.UnfitPairs > 0 ? "give --skip-unfit to leave out the pairs a language file cannot hold" : "");
  std::vector<std::string> problems;
  const std::string lang1 = LangName(args, TPairField::Lang1Name, target, problems, imported.Lang1Name);
  const std::string lang2 = LangName(args, TPairField::Lang2Name, target, problems, imported.Lang2Name);
  CheckLangNames(lang1, lang2, target, std::move(problems));

  TLangFHandler handler = NewLangFile();
  handler.Encoding = target;
  handler.SetLangNames(lang1, lang2);
  handler.Lang1Locale = imported.Lang1Locale;
  handler.Lang2Locale = imported.Lang2Locale;
  for (const auto& lesson : imported.Lessons) handler.PutLesson(lesson);
  RefuseHeldFile(args, outArg);
  RefuseExistingFile(args, outArg);
  if (TSaveResult saved; !handler.SaveLangFile(StoredArg(outArg), &saved)) CannotWrite(outArg, saved);
  const std::size_t lessons = imported.Lessons.size();
  out << "Wrote " << outArg << ": " << lessons << (lessons == 1 ? " lesson, " : " lessons, ") << imported.PairCount
      << (imported.PairCount == 1 ? " pair" : " pairs") << ".\n";
  for (const std::string& name : imported.LessonNames) out << "  lesson " << name << "\n";
  if (!imported.NotKept.Empty()) out << imported.NotKept.Summary() << ".\n";
  return kExitOk;
}

}  // namespace

bool HasKvtmlName(const std::string& arg) {
  constexpr std::string_view kEnd = ".kvtml";
  if (arg.size() <= kEnd.size()) return false;
  for (std::size_t i = 0; i < kEnd.size(); ++i) {
    char c = arg[arg.size() - kEnd.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kEnd[i]) return false;
  }
  return true;
}

int ImportKvtmlCommand(const TToolArgs& args, std::ostream& out) {
  if (args.Values.count("--lesson") != 0) Fail(kExitRejected, "--lesson is for --anki files");
  const std::string inStored = StoredArg(args.Files[0]);
  const std::string outStored = StoredArg(args.Files[1]);
  TKvtmlOptions options;
  options.Lang1Id = NumberOption(args, "--lang1-id", 0);
  options.Lang2Id = NumberOption(args, "--lang2-id", 1);
  options.Target = TargetEncoding(args);
  options.SkipUnfit = args.Switches.count("--skip-unfit") != 0;
  options.KeepSound = [&](const std::string& reference) { return KeptSound(reference, inStored, outStored); };
  if (!FileExistsWarn(inStored)) Fail(kExitFileError, args.Files[0] + ": no such file");
  RefuseHeldFile(args, args.Files[1]);
  RefuseExistingFile(args, args.Files[1]);
  return WriteImported(args, ImportKvtmlFile(inStored, options), options.Target, out);
}

int ImportAnkiCommand(const TToolArgs& args, std::ostream& out) {
  for (const char* option : {"--lang1-id", "--lang2-id"})
    if (args.Values.count(option) != 0) Fail(kExitRejected, std::string(option) + " is for --kvtml files");
  const std::string inStored = StoredArg(args.Files[0]);
  const std::string outStored = StoredArg(args.Files[1]);
  TAnkiOptions options;
  options.FirstLesson = NumberOption(args, "--lesson", 1);
  if (options.FirstLesson < 1 || options.FirstLesson > kMaxTableLessonNbr)
    Fail(kExitRejected, "--lesson " + args.Values.at("--lesson") + ": not a lesson number from 1 to " +
                            std::to_string(kMaxTableLessonNbr));
  options.Target = TargetEncoding(args);
  options.SkipUnfit = args.Switches.count("--skip-unfit") != 0;
  // Anki names its media files without folders; they lie beside the export.
  options.KeepSound = [&](const std::string& name) {
    if (name.find_first_of("/\\") != std::string::npos || name.rfind("file:", 0) == 0) return std::string();
    return KeptSound(name, inStored, outStored);
  };
  // Both names first: an Anki file names no language.
  std::vector<std::string> problems;
  LangName(args, TPairField::Lang1Name, options.Target, problems);
  LangName(args, TPairField::Lang2Name, options.Target, problems);
  CheckLangNames({}, {}, options.Target, std::move(problems));
  if (!FileExistsWarn(inStored)) Fail(kExitFileError, args.Files[0] + ": no such file");
  std::error_code error;
  if (std::filesystem::file_size(NativePath(inStored), error) > kMaxAnkiBytes && !error)
    Reject(args.Files[0], {"the file is larger than the " + std::to_string(kMaxAnkiBytes >> 20) + " MB read here"});
  RefuseHeldFile(args, args.Files[1]);
  RefuseExistingFile(args, args.Files[1]);
  const TBytes bytes = ReadInput(args.Files[0]);
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return WriteImported(args, ImportAnki(text, options), options.Target, out);
}
