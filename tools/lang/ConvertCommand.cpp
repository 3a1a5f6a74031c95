#include "ConvertCommand.h"

#include <QStringDecoder>
#include <cstdio>
#include <optional>
#include <vector>

#include "LangCommands.h"
#include "ToolFailure.h"
#include "core/LegacyCodePages.h"
#include "storage/CodeDecode.h"
#include "storage/FileUtil.h"
#include "storage/LangFileEncoding.h"
#include "storage/PathLock.h"

namespace {

constexpr int kMaxBackups = 99;

bool IsUtf8Name(const std::string& name) {
  return name == "utf-8" || name == "UTF-8" || name == "utf8" || name == "UTF8";
}

// What the old bytes are: a legacy code page, or UTF-8 that only lacks its
// encoding line (an older Quillmere drops it when it saves such a file).
struct TSource {
  std::optional<TLegacyCodePage> CodePage;  // nothing: UTF-8
  std::string Name;
};

TSource Source(const TToolArgs& args) {
  const auto to = args.Values.find("--to");
  if (to == args.Values.end()) Fail(kExitRejected, "give the encoding to convert to: --to utf-8");
  if (!IsUtf8Name(to->second))
    Fail(kExitRejected, "--to \"" + to->second + "\": a file can only be converted to utf-8");
  const auto from = args.Values.find("--from");
  if (from == args.Values.end()) return {TLegacyCodePage::Windows1252, "windows-1252"};
  if (IsUtf8Name(from->second)) return {std::nullopt, "utf-8"};
  const std::optional<TLegacyCodePage> codePage = ParseLegacyCodePage(from->second);
  if (!codePage)
    Fail(kExitRejected, "--from \"" + from->second + "\" is not a code page this command reads; it reads " +
                            LegacyCodePageNames() + " (and utf-8)");
  return {codePage, std::string(LegacyCodePageName(*codePage))};
}

bool IsUtf8(std::string_view text) {
  QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
  const QString decoded = decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
  return !decoder.hasError();
}

bool HasNonAscii(std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
}

// The line of the first text that is UTF-8 and not ASCII, when every line is
// UTF-8: such a file was UTF-8 before, and reading it in a code page would
// garble its letters. 0 otherwise. Text in a legacy code page practically
// never forms UTF-8 (a letter outside ASCII would have to be followed by
// the right symbols).
std::size_t LooksUtf8(const std::vector<std::string>& lines) {
  std::size_t first = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!HasNonAscii(lines[i])) continue;
    if (!IsUtf8(lines[i])) return 0;
    if (first == 0) first = i + 1;
  }
  return first;
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
  if (!reader.Finish())
    Fail(kExitFileError, arg + ": not a language file, or damaged (header or checksum test failed)");
  return read;
}

// The n-th name tried for the backup of a file converted from a code page
// (1: FILE.windows-1250.bak, n: FILE.windows-1250.n.bak).
std::string ConvertBackupName(const std::string& file, const std::string& codePageName, int n) {
  return n <= 1 ? file + "." + codePageName + ".bak" : file + "." + codePageName + "." + std::to_string(n) + ".bak";
}

}  // namespace

int ConvertLangFile(const TToolArgs& args, const std::string& storedFile, std::ostream& out) {
  const std::string& arg = args.Files[0];
  const TSource source = Source(args);

  if (!FileExistsWarn(storedFile)) Fail(kExitFileError, arg + ": no such file");
  const TBytes old = ReadFileBytes(storedFile);
  const TReadLines read = ReadContainer(arg, old);
  if (!read.Lines.empty() && read.Lines[0] == kUtf8EncodingLine) {
    out << arg << " is already UTF-8; nothing was changed.\n";
    return kExitOk;
  }
  if (source.CodePage && !LegacyCodePageAvailable(*source.CodePage))
    Fail(kExitFileError, "this system cannot read " + source.Name + " (its converter is missing); nothing was changed");
  if (const std::size_t line = source.CodePage ? LooksUtf8(read.Lines) : 0; line != 0)
    Fail(kExitFileError, arg + ", line " + std::to_string(line) + ": the texts are UTF-8 already, only the line \"" +
                             std::string(kUtf8EncodingLine) +
                             "\" is missing (an older Quillmere leaves it out when it saves); read as " + source.Name +
                             " they would be garbled. Give --from utf-8 to add the line.\n"
                             "nothing was changed");

  // Each letter outside ASCII takes one more byte, most two or three.
  TContainerBuilder builder(old.size() + old.size() / 2 + kUtf8EncodingLine.size() + 2);
  builder.AddLine(kUtf8EncodingLine);
  for (std::size_t i = 0; i < read.Lines.size(); ++i) {
    const std::string& line = read.Lines[i];
    const std::string where = arg + ", line " + std::to_string(i + 1) + ": ";
    std::string utf8;
    std::size_t badPos = 0;
    if (!source.CodePage) {
      if (!IsUtf8(line)) Fail(kExitFileError, where + "the line is not valid UTF-8 (see --from)\nnothing was changed");
      utf8 = line;
    } else if (!LegacyToUtf8(line, *source.CodePage, utf8, &badPos)) {
      Fail(kExitFileError, where + "the byte " + HexByte(static_cast<unsigned char>(line[badPos])) + " (byte " +
                               std::to_string(badPos + 1) + " of the line) has no character in " + source.Name +
                               ", so the file was not written in it (see --from)\nnothing was changed");
    }
    if (utf8.size() > kMaxContainerLine)
      Fail(kExitFileError, where + "in UTF-8 the line would be " + std::to_string(utf8.size()) +
                               " bytes long, more than the " + std::to_string(kMaxContainerLine) +
                               " a line may have\nnothing was changed");
    builder.AddLine(utf8);
  }
  const TBytes converted = builder.Finish();

  if (args.Switches.count("--force") == 0 && IsPathLocked("langfile", storedFile))
    Fail(kExitFileError, arg +
                             ": Quillmere is running with this file as its exercise file; close Quillmere or choose "
                             "another file there first, or give --force to convert it anyway");

  // The old bytes first, under a name no earlier backup has.
  std::string backup;
  std::string shownBackup;
  TSaveResult backupResult;
  for (int n = 1; n <= kMaxBackups && backup.empty(); ++n) {
    const std::string name = ConvertBackupName(storedFile, source.Name, n);
    if (FileExistsWarn(name)) continue;
    if (WriteFileBytes(name, old, false, &backupResult)) {
      backup = name;
      shownBackup = ConvertBackupName(arg, source.Name, n);
    } else if (!FileExistsWarn(name)) {
      Fail(kExitFileError, ConvertBackupName(arg, source.Name, n) +
                               ": the backup cannot be written: " + backupResult.Reason + "\nnothing was changed");
    }
  }
  if (backup.empty())
    Fail(kExitFileError, arg + ": " + std::to_string(kMaxBackups) + " backups of it from " + source.Name +
                             " are there already; move some away\nnothing was changed");

  if (TSaveResult saved; !WriteFileBytes(storedFile, converted, true, &saved)) {
    // The file is as it was: the copy of it goes again.
    DeleteFileAt(backup);
    Fail(kExitFileError, arg + ": cannot be written: " + saved.Reason + "\nnothing was changed");
  }

  out << "Converted " << arg << " from " << source.Name << " to UTF-8: " << read.Lines.size()
      << (read.Lines.size() == 1 ? " line" : " lines") << ".\n";
  for (const std::size_t line : read.CutLines)
    out << "Line " << line << " held bytes the program does not read (after a zero byte, or beside a lone line break); "
        << "they are left out, as the program always did.\n";
  out << "The old bytes are kept in " << shownBackup << ".\n";
  return kExitOk;
}
