#include "SpeakCommand.h"

#include <QByteArray>
#include <QProcess>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <map>
#include <system_error>

#include "LangCommands.h"
#include "ToolFailure.h"
#include "core/Bytes.h"
#include "session/LocaleGuess.h"
#include "storage/FileUtil.h"
#include "storage/LangFHandler.h"
#include "storage/LangFileEncoding.h"
#include "storage/WaveInfo.h"

namespace fs = std::filesystem;

namespace {
constexpr int kEngineTimeoutMs = 60000;
constexpr std::string_view kDataMark = "/LangFiles/";

bool HasSound(std::string_view name) { return name.find_first_not_of(' ') != std::string_view::npos; }

// Where new sounds go and how their names are stored.
struct TSoundPlace {
  fs::path Folder;
  std::string StoredPrefix;  // "\LangFiles\Eng_Ger\" or "/home/anna/sounds/"
};

// The data folder a name relative to it ("\...") resolves against: the part
// of the language file's path before its LangFiles folder.
std::string DataFolderOf(const std::string& langFile) {
  const std::size_t at = langFile.rfind(kDataMark);
  return at == std::string::npos ? std::string() : langFile.substr(0, at);
}

TSoundPlace PlaceFor(const TLangFHandler& handler, const std::string& langFile) {
  const std::string dataDir = DataFolderOf(langFile);
  // Beside the file's other sounds, when one of them is there.
  for (const auto& lesson : handler.Lessons.Items()) {
    if (!lesson) continue;
    for (const auto& pear : lesson->Pears.Items()) {
      if (!pear) continue;
      for (const auto* sound : {&pear->WavFile1, &pear->WavFile2}) {
        if (!HasSound(*sound)) continue;
        const std::string name(*sound);
        const bool relative = name[0] == '\\';
        if (relative && dataDir.empty()) continue;
        const fs::path path = NativePath(relative ? dataDir + name : name);
        std::error_code ec;
        if (!fs::is_directory(path.parent_path(), ec)) continue;
        const std::size_t cut = name.find_last_of(relative ? "\\" : "/\\");
        return {path.parent_path(), name.substr(0, cut + 1)};
      }
    }
  }
  // Else beside the language file, named as the program names its own.
  const fs::path folder = NativePath(langFile).parent_path();
  if (!dataDir.empty()) {
    std::string below = langFile.substr(dataDir.size(), langFile.rfind('/') + 1 - dataDir.size());
    for (char& c : below)
      if (c == '/') c = '\\';
    return {folder, below};
  }
  std::string prefix = folder.native();
  if (prefix.empty() || prefix.back() != '/') prefix += '/';
  return {folder, prefix};
}

// The same text in the same language is one file.
std::string SoundNameFor(const std::string& locale, std::string_view text) {
  uint32_t hash = 2166136261u;
  for (char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08x", hash);
  return locale + "_" + hex + ".wav";
}

// espeak-ng's name for a locale where it differs.
QString VoiceFor(const std::string& locale) {
  static const std::map<std::string, std::string> voices = {{"zh", "cmn"}, {"no", "nb"}};
  const auto it = voices.find(locale);
  return QString::fromStdString(it == voices.end() ? locale : it->second);
}

struct TSpoken {
  TBytes Wave;
  std::string Problem;     // empty on success
  bool NoEngine = false;   // then every other side fails alike
};

// Speaks text into a WAV. The engine writes into a folder of the system's
// own; the sound reaches the learner's folder only through the save.
TSpoken Speak(const std::string& engine, const std::string& locale, std::string_view text) {
  const QTemporaryDir scratch;
  if (!scratch.isValid()) return {{}, "no temporary folder for the speech program", false};
  const QString file = scratch.filePath(QStringLiteral("spoken.wav"));
  QProcess process;
  process.setProgram(QString::fromStdString(engine));
  // The text comes on standard input, never as an argument: a phrase
  // beginning with "-" stays a phrase.
  process.setArguments({QStringLiteral("-v"), VoiceFor(locale), QStringLiteral("-b"), QStringLiteral("1"),
                        QStringLiteral("-w"), file, QStringLiteral("--stdin")});
  process.start();
  if (!process.waitForStarted())
    return {{}, "the speech program " + engine + " cannot be started (is it installed?)", true};
  process.write(text.data(), static_cast<qint64>(text.size()));
  process.closeWriteChannel();
  if (!process.waitForFinished(kEngineTimeoutMs)) {
    process.kill();
    process.waitForFinished();
    return {{}, "the speech program took too long", false};
  }
  if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    const QString said = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    return {{}, "the speech program failed" + (said.isEmpty() ? std::string() : ": " + said.toStdString()), false};
  }
  TSpoken spoken{ReadFileBytes(QFile::encodeName(file).toStdString()), {}, false};
  if (WaveDurationMs(spoken.Wave, static_cast<int64_t>(spoken.Wave.size())) <= 0)
    spoken.Problem = "the speech program wrote no sound";
  return spoken;
}

std::string LocaleOf(const std::string& given, const std::string& stored, const std::string& name, int side) {
  if (!given.empty()) return given;
  if (!stored.empty()) return stored;
  std::string guessed = GuessLocale(name);
  if (guessed.empty())
    Fail(kExitRejected, "the language of side " + std::to_string(side) + " (\"" + name +
                            "\") is not known; give it with --lang" + std::to_string(side) + "-locale (e.g. de, ru)");
  return guessed;
}
}  // namespace

TSpeakOutcome SpeakMissing(TLangFHandler& handler, const std::string& storedFile, const TSpeakRequest& request,
                           std::ostream& out) {
  for (const std::string* locale : {&request.Locale1, &request.Locale2})
    if (!IsLocaleName(*locale)) Fail(kExitRejected, "\"" + *locale + "\" is no locale (e.g. de, ru, zh)");
  const std::string locales[2] = {LocaleOf(request.Locale1, handler.Lang1Locale, handler.GetLang1Name(), 1),
                                  LocaleOf(request.Locale2, handler.Lang2Locale, handler.GetLang2Name(), 2)};
  const TSoundPlace place = PlaceFor(handler, storedFile);
  std::error_code ec;
  fs::create_directories(place.Folder, ec);
  if (ec) Fail(kExitFileError, place.Folder.native() + ": cannot be made: " + ec.message());

  TSpeakOutcome outcome;
  for (const auto& lesson : handler.Lessons.Items()) {
    if (!lesson || (!request.Lessons.empty() && request.Lessons.count(lesson->LessonNbr) == 0)) continue;
    for (int32_t p = 0; p < lesson->SlotCount(); ++p) {
      const auto pear = lesson->GetPear(p);
      if (!pear) continue;
      for (int side = 0; side < 2; ++side) {
        auto& sound = side == 0 ? pear->WavFile1 : pear->WavFile2;
        const auto& text = side == 0 ? pear->Word1 : pear->Word2;
        if (HasSound(sound) || !HasSound(text)) continue;
        const std::string where = "lesson " + std::to_string(lesson->LessonNbr) + ", pair " + std::to_string(p) +
                                  ", side " + std::to_string(side + 1);
        const std::string name = SoundNameFor(locales[side], text);
        const fs::path target = place.Folder / name;
        if (!fs::exists(target, ec)) {
          const TSpoken spoken = Speak(request.Engine, locales[side], text);
          if (spoken.NoEngine) {
            outcome.Problems.push_back(where + ": " + spoken.Problem);
            return outcome;
          }
          // Through the one save function: a failed write leaves nothing behind.
          std::string problem = spoken.Problem;
          if (TSaveResult saved; problem.empty() && !WriteFileBytes(target.native(), spoken.Wave, false, &saved))
            problem = "cannot be stored: " + saved.Reason;
          if (!problem.empty()) {
            outcome.Problems.push_back(where + ": " + problem);
            continue;
          }
        }
        sound = place.StoredPrefix + name;
        ++outcome.Made;
        out << where << ": " << sound << "\n";
      }
    }
  }
  if (handler.Lang1Locale.empty() || !request.Locale1.empty()) handler.Lang1Locale = locales[0];
  if (handler.Lang2Locale.empty() || !request.Locale2.empty()) handler.Lang2Locale = locales[1];
  return outcome;
}
