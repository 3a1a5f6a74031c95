#include "CommandSupport.h"

#include <filesystem>

#include "ToolFailure.h"
#include "core/CodePage.h"
#include "core/Errors.h"
#include "EncodingNames.h"
#include "session/LessonSetRules.h"
#include "storage/CodeDecode.h"
#include "storage/PathLock.h"

namespace {
// Enough to see what is wrong with a table without flooding the terminal.
constexpr std::size_t kErrorsShown = 20;
}  // namespace

// A file name from the command line as the storage functions take it.
std::string StoredArg(const std::string& arg) {
  std::string stored;
  if (arg.empty()) Fail(kExitRejected, "a file name is empty");
  if (!StoredPath(std::filesystem::path(arg), stored)) Fail(kExitRejected, "the file name \"" + arg + "\" cannot be used");
  return stored;
}

TBytes ReadInput(const std::string& arg) {
  const std::string path = StoredArg(arg);
  if (!FileExistsWarn(path)) Fail(kExitFileError, arg + ": no such file");
  return ReadFileBytes(path);
}

void LoadLang(const std::string& arg, TLangFHandler& handler) {
  const TBytes bytes = ReadInput(arg);
  if (bytes.empty()) Fail(kExitFileError, arg + ": the file is empty");
  try {
    if (!handler.LoadLangBytes(bytes, StoredArg(arg)))
      Fail(kExitFileError, arg + ": not a language file, or damaged (header or checksum test failed)");
  } catch (const TConversionError& error) {
    Fail(kExitFileError, error.Describe());
  }
}

// With the system's reason: a full disk, a folder that may not be written, a
// link that is not followed.
[[noreturn]] void CannotWrite(const std::string& arg, const TSaveResult& result) {
  Fail(kExitFileError, arg + ": cannot be written: " + result.Reason);
}

// The running program holds its current exercise file and saves its changes
// into it later; replacing the file under it needs --force (the program then
// carries its changes over onto the new file when it saves).
void RefuseHeldFile(const TToolArgs& args, const std::string& outArg) {
  if (args.Switches.count("--force") != 0) return;
  if (IsPathLocked("langfile", StoredArg(outArg)))
    Fail(kExitFileError, outArg +
                             ": Quillmere is running with this file as its exercise file; close Quillmere or choose "
                             "another file there first, or give --force to replace it anyway");
}

// An import makes a new file: replacing one that is there (a learner's
// years of lessons, under a mistyped name) must be asked for.
void RefuseExistingFile(const TToolArgs& args, const std::string& outArg) {
  if (args.Switches.count("--force") != 0) return;
  if (FileExistsWarn(StoredArg(outArg)))
    Fail(kExitRejected, outArg + ": the file exists; give --force to replace it");
}

void NeedFiles(const TToolArgs& args, std::size_t count, const char* usage) {
  if (args.Files.size() != count) {
    std::string firstLine(usage);
    firstLine = firstLine.substr(0, firstLine.find('\n'));
    Fail(kExitRejected, (args.Files.size() < count ? "missing file name\n" : "too many file names\n") + firstLine);
  }
}

// Lists errors found in one input, at most kErrorsShown of them.
[[noreturn]] void Reject(const std::string& input, const std::vector<std::string>& reasons, const std::string& note) {
  std::string message;
  for (std::size_t i = 0; i < reasons.size() && i < kErrorsShown; ++i)
    message += (i == 0 ? "" : "\n") + input + ", " + reasons[i];
  if (reasons.size() > kErrorsShown)
    message += "\n... and " + std::to_string(reasons.size() - kErrorsShown) + " more";
  if (!note.empty()) message += "\n" + note;
  message += "\nnothing was written";
  Fail(kExitRejected, message);
}

std::string LangName(const TToolArgs& args, TPairField field, TTextEncoding target, std::vector<std::string>& problems,
                     const std::string& fallback) {
  const std::string option = PairFieldName(field);
  const auto given = args.Values.find(option);
  if (given == args.Values.end() && fallback.empty()) {
    problems.push_back("the option " + option + " NAME is missing");
    return {};
  }
  const std::string& text = given != args.Values.end() ? given->second : fallback;
  // A name taken from the file is named as such, so the user knows to give the option.
  const std::string what = given != args.Values.end() ? option + " \"" + text + "\"" : "the file's language name \"" + text + "\"";
  std::string name;
  std::string problem = CheckPairField(field, text, name, target);
  if (problem.empty() && Utf8Length(name) < kMinLangName)
    problem = what + " is shorter than the " + std::to_string(kMinLangName) +
              " characters the editor needs for a language name";
  if (!problem.empty() && given == args.Values.end()) problem += "; give " + option + " NAME";
  if (!problem.empty()) problems.push_back(std::move(problem));
  return name;
}

void CheckLangNames(const std::string& lang1, const std::string& lang2, TTextEncoding target,
                    std::vector<std::string> problems) {
  // The names line in the file's bytes: one a character in Windows-1252.
  const auto fileBytes = [target](const std::string& text) {
    return target == TTextEncoding::Utf8 ? text.size() : Utf8Length(text);
  };
  if (problems.empty() && fileBytes(lang1) + 1 + fileBytes(lang2) > kMaxContainerLine)
    problems.push_back("the language names are too long for a line of a language file");
  if (!problems.empty()) {
    std::string message;
    for (const std::string& problem : problems) message += (message.empty() ? "" : "\n") + problem;
    Fail(kExitRejected, message);
  }
}

TTextEncoding TargetEncoding(const TToolArgs& args) {
  // A new file is UTF-8 unless a legacy one is asked for.
  if (const auto given = args.Values.find("--encoding"); given != args.Values.end()) {
    const auto named = ParseEncodingName(given->second);
    if (!named) Fail(kExitRejected, "--encoding is \"" + given->second + "\"; it takes utf-8 or windows-1252");
    return *named;
  }
  return TTextEncoding::Utf8;
}
