#include "LangCommands.h"

#include <filesystem>
#include <functional>
#include <new>

#include "EncodingNames.h"
#include "CommandSupport.h"
#include "ForeignImport.h"
#include "KvtmlExportCommand.h"
#include "LangHelp.h"
#include "LossReport.h"
#include "storage/PairFields.h"
#include "storage/TableExport.h"
#include "storage/TableImport.h"
#include "ToolArgs.h"
#include "ToolFailure.h"
#include "ConvertCommand.h"
#include "SpeakCommand.h"
#include "CheckCommand.h"
#include "StatsCommand.h"
#include "core/Convert.h"
#include "core/Errors.h"
#include "storage/CodeDecode.h"
#include "core/CodePage.h"
#include "storage/FileUtil.h"
#include "storage/LangFileEncoding.h"
#include "storage/LangFHandler.h"
#include "session/LessonSetRules.h"
#include "storage/PathLock.h"

namespace {

constexpr const char* kProgram = "quillmere-lang";

std::string Column(int32_t value, int width) {
  std::string text = std::to_string(value);
  if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
  return text;
}

int Info(const TToolArgs& args, std::ostream& out) {
  NeedFiles(args, 1, kInfoHelp);
  TLangFHandler handler;
  LoadLang(args.Files[0], handler);

  struct TCounts {
    int32_t Lesson = 0, Pairs = 0, InUse = 0, Drawn = 0;
  };
  std::vector<TCounts> rows;
  TCounts total;
  for (int32_t l = 0; l < handler.LessonSlotCount(); ++l) {
    const auto lesson = handler.GetLesson(l);
    if (!lesson) continue;
    TCounts counts;
    counts.Lesson = lesson->LessonNbr;
    counts.Pairs = lesson->PearCount();
    counts.InUse = lesson->UsedPearCount();
    for (int32_t p = 0; p < lesson->SlotCount(); ++p) {
      const auto pear = lesson->GetPear(p);
      if (pear && pear->InUse && pear->Drawn) ++counts.Drawn;
    }
    total.Pairs += counts.Pairs;
    total.InUse += counts.InUse;
    total.Drawn += counts.Drawn;
    rows.push_back(counts);
  }
  out << "Language 1: " << handler.GetLang1Name() << "\n"
      << "Language 2: " << handler.GetLang2Name() << "\n"
      << "Lessons:    " << rows.size() << "\n"
      << "Encoding:   " << EncodingName(handler.Encoding) << "\n";
  if (rows.empty()) {
    WriteLossReport(handler.LoadLosses(), out);
    return kExitOk;
  }
  out << "\n"
      << "lesson   pairs  in use   drawn\n";
  for (const TCounts& row : rows)
    out << Column(row.Lesson, 6) << Column(row.Pairs, 8) << Column(row.InUse, 8) << Column(row.Drawn, 8) << "\n";
  out << " total" << Column(total.Pairs, 8) << Column(total.InUse, 8) << Column(total.Drawn, 8) << "\n";
  WriteLossReport(handler.LoadLosses(), out);
  return kExitOk;
}

int Export(const TToolArgs& args, std::ostream& out) {
  NeedFiles(args, 1, kExportHelp);
  const int formats = int(args.Switches.count("--csv")) + int(args.Switches.count("--tsv")) +
                      int(args.Switches.count("--kvtml"));
  if (formats > 1) Fail(kExitRejected, "give one of --tsv, --csv or --kvtml");
  if (args.Switches.count("--kvtml") != 0) return ExportKvtmlCommand(args, out);
  const TTableFormat format = args.Switches.count("--csv") != 0 ? TTableFormat::Csv : TTableFormat::Tsv;
  TLangFHandler handler;
  LoadLang(args.Files[0], handler);
  std::string table;
  std::string error;
  if (!ExportTable(handler, format, table, error)) Fail(kExitRejected, args.Files[0] + ", " + error);
  out << table;
  return kExitOk;
}

int Import(const TToolArgs& args, std::ostream& out) {
  NeedFiles(args, 2, kImportHelp);
  const bool csv = args.Switches.count("--csv") != 0;
  const bool tsv = args.Switches.count("--tsv") != 0;
  const bool kvtml = args.Switches.count("--kvtml") != 0;
  const bool anki = args.Switches.count("--anki") != 0;
  if (int(csv) + int(tsv) + int(kvtml) + int(anki) > 1) Fail(kExitRejected, "give one format: --tsv, --csv, --kvtml or --anki");
  if (kvtml || (!csv && !tsv && !anki && HasKvtmlName(args.Files[0]))) return ImportKvtmlCommand(args, out);
  if (anki) return ImportAnkiCommand(args, out);
  if (!csv && !tsv) Fail(kExitRejected, "give the file's format: --tsv or --csv for a table, --kvtml or --anki");
  for (const char* option : {"--lang1-id", "--lang2-id", "--lesson"})
    if (args.Values.count(option) != 0) Fail(kExitRejected, std::string(option) + " is for --kvtml or --anki files");
  if (args.Switches.count("--skip-unfit") != 0) Fail(kExitRejected, "--skip-unfit is for --kvtml or --anki files");
  const TTextEncoding target = TargetEncoding(args);
  std::vector<std::string> problems;
  const std::string lang1 = LangName(args, TPairField::Lang1Name, target, problems);
  const std::string lang2 = LangName(args, TPairField::Lang2Name, target, problems);
  CheckLangNames(lang1, lang2, target, std::move(problems));

  const std::string& tableArg = args.Files[0];
  const std::string& outArg = args.Files[1];
  const TBytes bytes = ReadInput(tableArg);
  const TTableImport table =
      ImportTable(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                  csv ? TTableFormat::Csv : TTableFormat::Tsv, target);
  if (!table.Ok()) {
    std::vector<std::string> reasons;
    for (const TTableError& error : table.Errors) reasons.push_back(error.Describe());
    Reject(tableArg, reasons);
  }

  TLangFHandler handler = NewLangFile();
  handler.Encoding = target;
  handler.SetLangNames(lang1, lang2);
  for (const auto& lesson : table.Lessons) handler.PutLesson(lesson);
  RefuseHeldFile(args, outArg);
  RefuseExistingFile(args, outArg);
  if (TSaveResult saved; !handler.SaveLangFile(StoredArg(outArg), &saved)) CannotWrite(outArg, saved);
  out << "Wrote " << outArg << ": " << table.Lessons.size() << (table.Lessons.size() == 1 ? " lesson, " : " lessons, ")
      << table.PairCount << (table.PairCount == 1 ? " pair" : " pairs") << ".\n";
  return kExitOk;
}

int Dump(const TToolArgs& args, std::ostream& out) {
  NeedFiles(args, 1, kDumpHelp);
  const std::string& arg = args.Files[0];
  const TBytes bytes = ReadInput(arg);
  if (bytes.empty()) Fail(kExitFileError, arg + ": the file is empty");
  TStrVector lines;
  if (!ContainerToStrings(bytes, lines))
    Fail(kExitFileError, arg + ": not a language file, or damaged (header or checksum test failed)");
  // A UTF-8 file's lines are shown as they are, its encoding line first.
  const bool utf8 = lines.Count() > 0 && lines.Get(0) == kUtf8EncodingLine;
  for (int32_t i = 0; i < static_cast<int32_t>(lines.Count()); ++i)
    out << (utf8 ? lines.Get(i) : Cp1252ToUtf8(lines.Get(i))) << "\n";
  return kExitOk;
}

// The lines of a UTF-8 text as the file's bytes (Windows-1252 unless the
// first line is the UTF-8 encoding line), or the reasons it cannot be packed.
TStrVector PackLines(const TBytes& bytes, std::vector<std::string>& problems) {
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  const bool utf8 = text.substr(0, text.find_first_of("\r\n")) == kUtf8EncodingLine;
  const TTextEncoding target = utf8 ? TTextEncoding::Utf8 : TTextEncoding::Cp1252;
  TStrVector lines;
  int lineNbr = 0;
  while (!text.empty()) {
    ++lineNbr;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string where = "line " + std::to_string(lineNbr) + ": ";
    std::string converted;
    std::string conversion = ConvertUtf8(line, converted, target);
    if (conversion.empty() && !utf8) Utf8ToCp1252(line, converted);
    // The file splits its lines at CR and cuts a line short at NUL.
    const bool noByte = !utf8 && conversion.find("cannot hold") != std::string::npos;
    if (!conversion.empty())
      problems.push_back(where + "the line " + conversion +
                         (noByte ? " (a file whose first line is " + std::string(kUtf8EncodingLine) + " holds any)" : ""));
    else if (converted.find('\r') != std::string::npos)
      problems.push_back(where + "the line contains a carriage return");
    else if (converted.find('\0') != std::string::npos)
      problems.push_back(where + "the line contains a NUL character");
    else if (converted.size() > kMaxContainerLine)
      problems.push_back(where + "the line is longer than the " + std::to_string(kMaxContainerLine) +
                         " bytes a line may have");
    lines.Add(std::move(converted));
  }
  return lines;
}

int Pack(const TToolArgs& args, std::ostream& out) {
  NeedFiles(args, 2, kPackHelp);
  const std::string& linesArg = args.Files[0];
  const std::string& outArg = args.Files[1];
  std::vector<std::string> problems;
  const TStrVector lines = PackLines(ReadInput(linesArg), problems);
  if (!problems.empty()) Reject(linesArg, problems);
  const TBytes bytes = StringsToContainer(lines);
  // Read it back as the program would, so a bad number is found before writing.
  try {
    TLangFHandler trial;
    trial.LoadLangBytes(bytes, StoredArg(linesArg));
  } catch (const TConversionError& error) {
    Fail(kExitRejected, error.Describe() + "\nnothing was written");
  }
  RefuseHeldFile(args, outArg);
  if (TSaveResult saved; !WriteFileBytes(StoredArg(outArg), bytes, true, &saved)) CannotWrite(outArg, saved);
  out << "Wrote " << outArg << ": " << lines.Count() << (lines.Count() == 1 ? " line" : " lines") << ".\n";
  return kExitOk;
}

int Speak(const TToolArgs& args, std::ostream& out) {
  NeedFiles(args, 1, kSpeakHelp);
  if (args.Switches.count("--missing") == 0) Fail(kExitRejected, "give --missing: only missing sounds are made");
  const std::string& fileArg = args.Files[0];
  TSpeakRequest request;
  if (const auto lesson = args.Values.find("--lesson"); lesson != args.Values.end()) {
    int32_t number = 0;
    if (!TryStrToInt(lesson->second, number) || number < 0)
      Fail(kExitRejected, "--lesson " + lesson->second + ": not a lesson number");
    request.Lessons.insert(number);
  }
  if (const auto l = args.Values.find("--lang1-locale"); l != args.Values.end()) request.Locale1 = l->second;
  if (const auto l = args.Values.find("--lang2-locale"); l != args.Values.end()) request.Locale2 = l->second;
  TLangFHandler handler;
  LoadLang(fileArg, handler);
  RefuseHeldFile(args, fileArg);
  const std::string stored = std::filesystem::absolute(NativePath(StoredArg(fileArg))).native();
  const TSpeakOutcome outcome = SpeakMissing(handler, stored, request, out);
  if (outcome.Made > 0)
    if (TSaveResult saved; !handler.SaveLangFile(StoredArg(fileArg), &saved)) CannotWrite(fileArg, saved);
  out << "Made " << outcome.Made << (outcome.Made == 1 ? " sound" : " sounds");
  if (!outcome.Problems.empty()) out << "; " << outcome.Problems.size() << " could not be made";
  out << ".\n";
  if (outcome.Problems.empty()) return kExitOk;
  std::string message;
  for (const std::string& problem : outcome.Problems) message += (message.empty() ? "" : "\n") + fileArg + ", " + problem;
  Fail(kExitFileError, message);
}

int Check(const TToolArgs& args, std::ostream& out) {
  NeedFiles(args, 1, kCheckHelp);
  std::set<int32_t> lessons;
  if (const auto lesson = args.Values.find("--lesson"); lesson != args.Values.end()) {
    int32_t number = 0;
    if (!TryStrToInt(lesson->second, number) || number < 0)
      Fail(kExitRejected, "--lesson " + lesson->second + ": not a lesson number");
    lessons.insert(number);
  }
  const std::string& fileArg = args.Files[0];
  TLangFHandler handler;
  LoadLang(fileArg, handler);
  bool found = lessons.empty();
  for (const auto& lesson : handler.Lessons.Items()) found = found || (lesson && lessons.count(lesson->LessonNbr) != 0);
  if (!found)
    Fail(kExitRejected, "--lesson " + args.Values.at("--lesson") + ": the file has no such lesson");
  const std::string stored = std::filesystem::absolute(NativePath(StoredArg(fileArg))).native();
  const TCheckOutcome outcome = CheckSounds(handler, stored, lessons, out);
  return outcome.Faults == 0 ? kExitOk : kExitFileError;
}

struct TCommand {
  const char* Name;
  const char* Help;
  std::set<std::string> Switches;
  std::set<std::string> Valued;
  std::function<int(const TToolArgs&, std::ostream&)> Run;
};

const std::vector<TCommand>& Commands() {
  static const std::vector<TCommand> commands = {
      {"info", kInfoHelp, {}, {}, Info},
      {"export", kExportHelp, {"--tsv", "--csv", "--kvtml"}, {}, Export},
      {"import", kImportHelp, {"--tsv", "--csv", "--kvtml", "--anki", "--skip-unfit", "--force"},
       {"--lang1", "--lang2", "--encoding", "--lang1-id", "--lang2-id", "--lesson"}, Import},
      {"dump", kDumpHelp, {}, {}, Dump},
      {"pack", kPackHelp, {"--force"}, {}, Pack},
      {"speak", kSpeakHelp, {"--missing", "--force"}, {"--lesson", "--lang1-locale", "--lang2-locale"}, Speak},
      {"check", kCheckHelp, {}, {"--lesson"}, Check},
      {"stats", kStatsHelp, {}, {"--history", "--settings"}, StatsCommand},
      {"convert", kConvertHelp, {"--force"}, {"--to", "--from"},
       [](const TToolArgs& args, std::ostream& out) {
         NeedFiles(args, 1, kConvertHelp);
         return ConvertLangFile(args, StoredArg(args.Files[0]), out);
       }},
  };
  return commands;
}

}  // namespace

int RunLangTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << kProgramHelp;
    return kExitRejected;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    out << kProgramHelp;
    return kExitOk;
  }
  const TCommand* command = nullptr;
  for (const TCommand& candidate : Commands())
    if (args[0] == candidate.Name) command = &candidate;
  if (command == nullptr) {
    err << kProgram << ": unknown command \"" << args[0] << "\" (see " << kProgram << " --help)\n";
    return kExitRejected;
  }

  const std::string prefix = std::string(kProgram) + " " + command->Name + ": ";
  TToolArgs parsed;
  std::string problem;
  if (!ParseToolArgs(std::vector<std::string>(args.begin() + 1, args.end()), command->Switches, command->Valued, parsed,
                     problem)) {
    err << prefix << problem << " (see " << kProgram << " " << command->Name << " --help)\n";
    return kExitRejected;
  }
  if (parsed.Help) {
    out << command->Help;
    return kExitOk;
  }
  try {
    return command->Run(parsed, out);
  } catch (const TToolFailure& failure) {
    err << prefix << failure.Message << "\n";
    return failure.Code;
  } catch (const TFileIoError& error) {
    err << prefix << error.what() << "\n";
    return kExitFileError;
  } catch (const std::bad_alloc&) {
    err << prefix << "not enough memory\n";
    return kExitFileError;
  }
}
