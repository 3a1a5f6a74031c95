#include "ConvertCommand.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "LangCommands.h"
#include "LangHelp.h"
#include "ToolFailure.h"
#include "core/LegacyCodePages.h"
#include "storage/CodeDecode.h"
#include "storage/FileUtil.h"
#include "storage/LangFileEncoding.h"
#include "storage/PathLock.h"

namespace {

constexpr int kMaxBackups = 99;

TLegacyCodePage FromCodePage(const TToolArgs& args) {
  const auto to = args.Values.find("--to");
  if (to == args.Values.end()) Fail(kExitRejected, "give the encoding to convert to: --to utf-8");
  if (to->second != "utf-8" && to->second != "UTF-8" && to->second != "utf8" && to->second != "UTF8")
    Fail(kExitRejected, "--to \"" + to->second + "\": a file can only be converted to utf-8");
  const auto from = args.Values.find("--from");
  if (from == args.Values.end()) return TLegacyCodePage::Windows1252;
  const std::optional<TLegacyCodePage> codePage = ParseLegacyCodePage(from->second);
  if (!codePage)
    Fail(kExitRejected, "--from \"" + from->second + "\" is not a code page this command reads; it reads " +
                            LegacyCodePageNames());
  return *codePage;
}

std::string HexByte(unsigned char byte) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", byte);
  return text;
}

// The container's lines as the program reads them, and the lines whose
// bytes the reading drops (text after a zero byte, a byte beside a lone CR or LF).
struct TReadLines {
  std::vector<std::string> Lines;
  std::vector<std::size_t> CutLines;  // 1-based
};

TReadLines ReadContainer(const std::string& arg, const TBytes& bytes) {
  if (bytes.empty()) Fail(kExitFileError, arg + ": the file is empty");
  TReadLines read;
  // The reader tells about the line it is handing out.
  const TContainerReader* current = nullptr;
  TContainerReader reader([&](std::string_view line) {
    read.Lines.emplace_back(line);
    if (current->LineCutAtNul() || current->LineEndBroken()) read.CutLines.push_back(read.Lines.size());
  });
  current = &reader;
  reader.Feed(bytes.data(), bytes.size());
  if (!reader.Finish()) Fail(kExitFileError, arg + ": not a language file, or damaged (header or checksum test failed)");
  return read;
}

}  // namespace

std::string ConvertBackupName(const std::string& file, const std::string& codePageName, int n) {
  return n <= 1 ? file + "." + codePageName + ".bak" : file + "." + codePageName + "." + std::to_string(n) + ".bak";
}

int ConvertLangFile(const TToolArgs& args, const std::string& storedFile, std::ostream& out) {
  const std::string& arg = args.Files[0];
  const TLegacyCodePage codePage = FromCodePage(args);
  const std::string codePageName(LegacyCodePageName(codePage));

  if (!FileExistsWarn(storedFile)) Fail(kExitFileError, arg + ": no such file");
  const TBytes old = ReadFileBytes(storedFile);
  const TReadLines read = ReadContainer(arg, old);
  if (!read.Lines.empty() && read.Lines[0] == kUtf8EncodingLine) {
    out << arg << " is already UTF-8; nothing was changed.\n";
    return kExitOk;
  }
  if (!LegacyCodePageAvailable(codePage))
    Fail(kExitFileError, "this system cannot read " + codePageName + " (its converter is missing); nothing was changed");

  TStrVector lines;
  lines.Add(std::string(kUtf8EncodingLine));
  for (std::size_t i = 0; i < read.Lines.size(); ++i) {
    const std::string where = arg + ", line " + std::to_string(i + 1) + ": ";
    std::string utf8;
    std::size_t badPos = 0;
    if (!LegacyToUtf8(read.Lines[i], codePage, utf8, &badPos))
      Fail(kExitFileError, where + "the byte " + HexByte(static_cast<unsigned char>(read.Lines[i][badPos])) +
                               " (byte " + std::to_string(badPos + 1) + " of the line) has no character in " +
                               codePageName + ", so the file was not written in it (see --from)\nnothing was changed");
    if (utf8.size() > kMaxContainerLine)
      Fail(kExitFileError, where + "in UTF-8 the line would be " + std::to_string(utf8.size()) +
                               " bytes long, more than the " + std::to_string(kMaxContainerLine) +
                               " a line may have\nnothing was changed");
    lines.Add(std::move(utf8));
  }
  const TBytes converted = StringsToContainer(lines);

  if (args.Switches.count("--force") == 0 && IsPathLocked("langfile", storedFile))
    Fail(kExitFileError, arg +
                             ": Quillmere is running with this file as its exercise file; close Quillmere or choose "
                             "another file there first, or give --force to convert it anyway");

  // The old bytes first, under a name no earlier backup has.
  std::string backup;
  std::string shownBackup;
  TSaveResult backupResult;
  for (int n = 1; n <= kMaxBackups && backup.empty(); ++n) {
    const std::string name = ConvertBackupName(storedFile, codePageName, n);
    if (FileExistsWarn(name)) continue;
    if (WriteFileBytes(name, old, false, &backupResult)) {
      backup = name;
      shownBackup = ConvertBackupName(arg, codePageName, n);
    } else if (!FileExistsWarn(name)) {
      Fail(kExitFileError, ConvertBackupName(arg, codePageName, n) + ": the backup cannot be written: " +
                               backupResult.Reason + "\nnothing was changed");
    }
  }
  if (backup.empty())
    Fail(kExitFileError, arg + ": " + std::to_string(kMaxBackups) + " backups of it from " + codePageName +
                             " are there already; move some away\nnothing was changed");

  if (TSaveResult saved; !WriteFileBytes(storedFile, converted, true, &saved)) {
    // The file is as it was: the copy of it goes again.
    DeleteFileAt(backup);
    Fail(kExitFileError, arg + ": cannot be written: " + saved.Reason + "\nnothing was changed");
  }

  out << "Converted " << arg << " from " << codePageName << " to UTF-8: " << read.Lines.size()
      << (read.Lines.size() == 1 ? " line" : " lines") << ".\n";
  for (const std::size_t line : read.CutLines)
    out << "Line " << line << " held bytes the program does not read (after a zero byte, or beside a lone line break); "
        << "they are left out, as the program always did.\n";
  out << "The old bytes are kept in " << shownBackup << ".\n";
  return kExitOk;
}
