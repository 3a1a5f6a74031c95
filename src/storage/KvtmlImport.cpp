#include "KvtmlImport.h"

#include <QString>
#include <map>
#include <optional>
#include <vector>

#include "FileUtil.h"

namespace {

// Each entry, lesson and language costs memory beyond its bytes in the file;
// word lists stay far below these.
constexpr std::size_t kMaxEntries = 500000;
constexpr std::size_t kMaxContainers = 100000;
constexpr std::size_t kMaxIdentifiers = 1000;

// What the file holds beside the text and sound of a translation, and how
// it is counted (not at all without a name).
struct TDetail {
  const char* Element;
  const char* One;
  const char* Many;
};
constexpr TDetail kTranslationDetails[] = {
    {"grade", "grade", "grades"},
    {"conjugation", "conjugation", "conjugations"},
    {"comparison", "comparison", "comparisons"},
    {"image", "image", "images"},
    {"comment", "comment", "comments"},
    {"pronunciation", "pronunciation", "pronunciations"},
    {"example", "example", "examples"},
    {"paraphrase", "paraphrase", "paraphrases"},
    {"multiplechoice", "multiple-choice list", "multiple-choice lists"},
    {"synonym", "synonym", "synonyms"},
    {"antonym", "antonym", "antonyms"},
    {"falsefriend", "false friend", "false friends"},
    {"article", "article", "articles"},
    {"declension", "declension", "declensions"},
    {"sizehint", nullptr, nullptr},  // a column width: nothing of the word
    {nullptr, "other detail of an entry", "other details of entries"},
};
constexpr TDetail kIdentifierDetails[] = {
    {"article", "article table", "article tables"},
    {"personalpronouns", "pronoun table", "pronoun tables"},
    {"tenses", "tense list", "tense lists"},
    {"sizehint", nullptr, nullptr},
    {"identifiertype", nullptr, nullptr},
    {nullptr, "other detail of a language", "other details of languages"},
};

// The detail an element is, the last one for any other.
template <std::size_t N>
const TDetail& DetailOf(const TDetail (&details)[N], const std::string& element) {
  for (const TDetail& detail : details)
    if (detail.Element != nullptr && element == detail.Element) return detail;
  return details[N - 1];
}

std::optional<int64_t> IdOf(const QXmlStreamReader& reader) {
  bool ok = false;
  const qlonglong id = reader.attributes().value(QLatin1String("id")).toLongLong(&ok);
  if (!ok) return std::nullopt;
  return id;
}

std::string Trimmed(const QString& text) { return text.trimmed().toStdString(); }

// Tag names are compared only: a name longer than any known is cut.
std::string ShortName(const QXmlStreamReader& reader) { return reader.name().left(32).toString().toStdString(); }

}  // namespace

struct TKvtmlImporter::TState {
  struct TIdentifier {
    std::string Name, Locale;
  };
  struct TEntry {
    int64_t Id = 0;
    std::string Text[2], Sound[2];
    bool Inactive = false;
  };
  struct TContainer {
    int Parent = -1;  // -1: a top-level lesson
    std::string Name;
    bool InPractice = true;
  };
  struct TReference {
    int64_t EntryId;
    int Container;
  };
  // Where captured text goes.
  enum class TCapture { None, IdentName, IdentLocale, Text, Sound, Inactive, ContainerName, InPractice };

  explicit TState(TKvtmlOptions options)
      : Options(std::move(options)), Xml([this](const QXmlStreamReader& reader) { Token(reader); }, Options.Limits) {}

  TKvtmlOptions Options;
  TBoundedXml Xml;
  TImportedLessons Result;

  std::vector<std::string> Path;
  std::map<int64_t, TIdentifier> Identifiers;
  std::vector<TEntry> Entries;
  std::map<int64_t, std::size_t> EntryIndex;
  std::vector<TContainer> Containers;
  std::vector<int> OpenContainers;
  std::vector<TReference> References;

  int64_t CurIdentifier = 0;
  int Side = -1;  // the chosen language of the open translation, -1 another
  bool OtherTranslationHasText = false;
  // A detail is counted when it holds something: Parley writes empty ones.
  const TDetail* Detail = nullptr;
  std::size_t DetailDepth = 0;
  bool DetailHasContent = false;
  TCapture Capture = TCapture::None;
  std::size_t CaptureDepth = 0;
  QString Captured;

  bool Under(std::size_t depth, const char* name) const { return Path.size() > depth && Path[depth] == name; }

  void Token(const QXmlStreamReader& reader) {
    switch (reader.tokenType()) {
      case QXmlStreamReader::StartElement:
        Path.push_back(ShortName(reader));
        if (Detail != nullptr && !reader.attributes().isEmpty()) DetailHasContent = true;
        Start(reader);
        break;
      case QXmlStreamReader::Characters:
        if (Capture != TCapture::None) {
          // Texts split by comments add up.
          if (Captured.size() + reader.text().size() > Options.Limits.MaxText)
            return Xml.Refuse("a text longer than " + XmlSizeText(Options.Limits.MaxText) + ", more than a word list needs");
          Captured += reader.text();
        }
        if (Detail != nullptr && !reader.isWhitespace()) DetailHasContent = true;
        // Text of another language is counted, not kept.
        if (Side < 0 && Path.size() == 5 && Path[4] == "text" && !reader.isWhitespace()) OtherTranslationHasText = true;
        break;
      case QXmlStreamReader::EndElement:
        End();
        Path.pop_back();
        break;
      default:
        break;
    }
  }

  void StartDetail(const TDetail& detail, const QXmlStreamReader& reader) {
    if (detail.One == nullptr) return;
    Detail = &detail;
    DetailDepth = Path.size();
    DetailHasContent = !reader.attributes().isEmpty();
  }

  void StartCapture(TCapture capture) {
    Capture = capture;
    CaptureDepth = Path.size();
    Captured.clear();
  }

  void Start(const QXmlStreamReader& reader) {
    const std::size_t depth = Path.size();
    const std::string& name = Path.back();
    if (depth == 1) {
      if (name != "kvtml") {
        Xml.Refuse("not a KVTML file: its outermost element is <" + name + ">, not <kvtml>");
        return;
      }
      const QString version = reader.attributes().value(QLatin1String("version")).toString();
      if (!version.isEmpty() && !version.startsWith(u"2"))
        Xml.Refuse("a KVTML file of version " + version.left(10).toStdString() +
                   "; only version 2 is read (open it in KWordQuiz or Parley and save it again)");
      return;
    }
    if (Under(1, "identifiers")) return StartIdentifier(reader, depth, name);
    if (Under(1, "entries")) return StartEntry(reader, depth, name);
    if (Under(1, "lessons")) return StartLesson(reader, depth, name);
    if (Under(1, "wordtypes") && name == "entry") Result.NotKept.Add("word type", "word types");
    if (Under(1, "leitnerboxes") && name == "entry") Result.NotKept.Add("Leitner box place", "Leitner box places");
  }

  void StartIdentifier(const QXmlStreamReader& reader, std::size_t depth, const std::string& name) {
    if (depth == 3 && name == "identifier") {
      const auto id = IdOf(reader);
      if (!id) return Xml.Refuse("an identifier has no number (id)");
      CurIdentifier = *id;
      Identifiers[*id];
      if (Identifiers.size() > kMaxIdentifiers)
        Xml.Refuse("more than " + std::to_string(kMaxIdentifiers) + " languages, more than a word list needs");
    } else if (depth == 4 && name == "name") {
      StartCapture(TCapture::IdentName);
    } else if (depth == 4 && name == "locale") {
      StartCapture(TCapture::IdentLocale);
    } else if (depth == 4) {
      StartDetail(DetailOf(kIdentifierDetails, name), reader);
    }
  }

  void StartEntry(const QXmlStreamReader& reader, std::size_t depth, const std::string& name) {
    if (depth == 3 && name == "entry") {
      const auto id = IdOf(reader);
      if (!id) return Xml.Refuse("an entry has no number (id)");
      if (EntryIndex.count(*id) != 0) return Xml.Refuse("two entries have the number " + std::to_string(*id));
      if (Entries.size() >= kMaxEntries)
        return Xml.Refuse("more than " + std::to_string(kMaxEntries) + " entries, more than a word list needs");
      EntryIndex[*id] = Entries.size();
      Entries.push_back({});
      Entries.back().Id = *id;
      return;
    }
    if (Entries.empty() || depth < 4) return;
    if (depth == 4 && (name == "deactivated" || name == "inactive")) return StartCapture(TCapture::Inactive);
    if (depth == 4 && name == "translation") {
      const auto id = IdOf(reader);
      Side = !id ? -1 : *id == Options.Lang1Id ? 0 : *id == Options.Lang2Id ? 1 : -1;
      OtherTranslationHasText = false;
      return;
    }
    if (depth != 5 || !Under(3, "translation") || Side < 0) return;
    if (name == "text") return StartCapture(TCapture::Text);
    if (name == "sound") return StartCapture(TCapture::Sound);
    StartDetail(DetailOf(kTranslationDetails, name), reader);
  }

  void StartLesson(const QXmlStreamReader& reader, std::size_t depth, const std::string& name) {
    // Containers sit in the lessons element and in each other.
    if (name == "container" && Path[depth - 2] != "entry") {
      if (Containers.size() >= kMaxContainers)
        return Xml.Refuse("more than " + std::to_string(kMaxContainers) + " lessons, more than a word list needs");
      Containers.push_back({});
      Containers.back().Parent = OpenContainers.empty() ? -1 : OpenContainers.back();
      OpenContainers.push_back(static_cast<int>(Containers.size()) - 1);
      return;
    }
    if (OpenContainers.empty() || Path[depth - 2] != "container") return;
    if (name == "name") return StartCapture(TCapture::ContainerName);
    if (name == "inpractice") return StartCapture(TCapture::InPractice);
    if (name == "entry") {
      const auto id = IdOf(reader);
      if (!id) return Xml.Refuse("a lesson lists an entry without a number (id)");
      References.push_back({*id, OpenContainers.back()});
    }
  }

  void End() {
    const std::string& name = Path.back();
    if (Detail != nullptr && Path.size() == DetailDepth) {
      if (DetailHasContent) Result.NotKept.Add(Detail->One, Detail->Many);
      Detail = nullptr;
    }
    if (Under(1, "lessons") && name == "container" && !OpenContainers.empty() && Path[Path.size() - 2] != "entry")
      OpenContainers.pop_back();
    if (Under(1, "entries") && Path.size() == 4 && name == "translation") {
      if (Side < 0 && OtherTranslationHasText) Result.NotKept.Add("translation in another language", "translations in other languages");
      Side = -1;
    }
    if (Capture == TCapture::None || Path.size() != CaptureDepth) return;
    const std::string text = Trimmed(Captured);
    switch (Capture) {
      case TCapture::IdentName:
        Identifiers[CurIdentifier].Name = text;
        break;
      case TCapture::IdentLocale:
        Identifiers[CurIdentifier].Locale = text;
        break;
      case TCapture::Text:
        Entries.back().Text[Side] = text;
        break;
      case TCapture::Sound:
        Entries.back().Sound[Side] = text;
        break;
      case TCapture::Inactive:
        Entries.back().Inactive = text == "true" || text == "1";
        break;
      case TCapture::ContainerName:
        Containers[static_cast<std::size_t>(OpenContainers.back())].Name = text;
        break;
      case TCapture::InPractice:
        Containers[static_cast<std::size_t>(OpenContainers.back())].InPractice = !(text == "false" || text == "0");
        break;
      case TCapture::None:
        break;
    }
    Capture = TCapture::None;
    Captured.clear();
  }

  // The top-level container of one, and whether it and every container
  // around it is in practice.
  int TopOf(int container, bool& inPractice) const {
    inPractice = true;
    for (;;) {
      const TContainer& c = Containers[static_cast<std::size_t>(container)];
      inPractice = inPractice && c.InPractice;
      if (c.Parent < 0) return container;
      container = c.Parent;
    }
  }

  bool Languages() {
    const auto describe = [this] {
      std::string known;
      for (const auto& [id, ident] : Identifiers)
        known += (known.empty() ? "" : ", ") + std::to_string(id) + " " + (ident.Name.empty() ? ident.Locale : ident.Name);
      return known.empty() ? std::string("none") : known;
    };
    if (Options.Lang1Id == Options.Lang2Id) {
      Result.Errors.push_back("the two languages must be different identifiers");
      return false;
    }
    for (const int id : {Options.Lang1Id, Options.Lang2Id})
      if (Identifiers.count(id) == 0) {
        Result.Errors.push_back("the file has no language with the identifier " + std::to_string(id) +
                                " (its identifiers: " + describe() + ")");
        return false;
      }
    const TIdentifier& first = Identifiers[Options.Lang1Id];
    const TIdentifier& second = Identifiers[Options.Lang2Id];
    Result.Lang1Name = first.Name.empty() ? first.Locale : first.Name;
    Result.Lang2Name = second.Name.empty() ? second.Locale : second.Name;
    Result.Lang1Locale = StorableLocale(first.Locale);
    Result.Lang2Locale = StorableLocale(second.Locale);
    return true;
  }

  void AddEntry(TLessonCollector& collector, int32_t lessonNbr, const TEntry& entry, bool inPractice) {
    if (entry.Text[0].empty() || entry.Text[1].empty()) {
      Result.NotKept.Add("entry without text in both languages", "entries without text in both languages");
      return;
    }
    TImportedPair pair{entry.Text[0], entry.Text[1], {}, {}, inPractice && !entry.Inactive};
    std::string* wav[2] = {&pair.Wav1, &pair.Wav2};
    for (int side = 0; side < 2; ++side) {
      if (entry.Sound[side].empty()) continue;
      if (Options.KeepSound) *wav[side] = Options.KeepSound(entry.Sound[side]);
      if (wav[side]->empty()) Result.NotKept.Add("sound not found", "sounds not found");
    }
    collector.Add(lessonNbr, std::move(pair), "entry " + std::to_string(entry.Id));
  }

  void Build() {
    if (!Languages()) return;
    TLessonCollector collector(Result, Options.Target, Options.SkipUnfit);
    std::vector<bool> placed(Entries.size(), false);
    // The references of each top-level container, in file order.
    std::map<int, std::vector<std::pair<std::size_t, bool>>> byTop;
    for (const TReference& reference : References) {
      const auto found = EntryIndex.find(reference.EntryId);
      if (found == EntryIndex.end()) {
        Result.NotKept.Add("lesson reference to an entry the file lacks", "lesson references to entries the file lacks");
        continue;
      }
      if (placed[found->second]) {
        Result.NotKept.Add("entry listed in a second lesson", "entries listed in a second lesson");
        continue;
      }
      placed[found->second] = true;
      bool inPractice = true;
      const int top = TopOf(reference.Container, inPractice);
      byTop[top].emplace_back(found->second, inPractice);
    }
    int32_t lessonNbr = 0;
    for (std::size_t c = 0; c < Containers.size(); ++c) {
      if (Containers[c].Parent >= 0) continue;
      const auto refs = byTop.find(static_cast<int>(c));
      bool any = false;
      if (refs != byTop.end())
        for (const auto& [index, inPractice] : refs->second) {
          const TEntry& entry = Entries[index];
          any = any || (!entry.Text[0].empty() && !entry.Text[1].empty());
        }
      if (!any) {
        Result.NotKept.Add("lesson without a pair", "lessons without a pair");
        if (refs != byTop.end())
          for (const auto& [index, inPractice] : refs->second) AddEntry(collector, 0, Entries[index], inPractice);
        continue;
      }
      ++lessonNbr;
      Result.LessonNames.push_back(std::to_string(lessonNbr) + ": " +
                                   (Containers[c].Name.empty() ? "(no name)" : Containers[c].Name));
      for (const auto& [index, inPractice] : refs->second) AddEntry(collector, lessonNbr, Entries[index], inPractice);
    }
    bool unplaced = false;
    for (std::size_t e = 0; e < Entries.size(); ++e)
      unplaced = unplaced || (!placed[e] && !Entries[e].Text[0].empty() && !Entries[e].Text[1].empty());
    if (unplaced) {
      ++lessonNbr;
      Result.LessonNames.push_back(std::to_string(lessonNbr) + ": (entries in no lesson)");
    }
    for (std::size_t e = 0; e < Entries.size(); ++e)
      if (!placed[e]) AddEntry(collector, lessonNbr, Entries[e], true);
    collector.Finish();
    if (Result.Ok() && Result.PairCount == 0)
      Result.Errors.push_back("the file has no entry with text in both languages");
  }
};

TKvtmlImporter::TKvtmlImporter(TKvtmlOptions options) : state_(std::make_unique<TState>(std::move(options))) {}
TKvtmlImporter::~TKvtmlImporter() = default;

bool TKvtmlImporter::Feed(const char* data, std::size_t size) { return state_->Xml.Feed(data, size); }

TImportedLessons TKvtmlImporter::Finish() {
  if (!state_->Xml.Finish()) {
    TImportedLessons refused;
    refused.Errors.push_back(state_->Xml.Error());
    return refused;
  }
  state_->Build();
  return std::move(state_->Result);
}

TImportedLessons ImportKvtml(std::string_view xml, const TKvtmlOptions& options) {
  TKvtmlImporter importer(options);
  importer.Feed(xml.data(), xml.size());
  return importer.Finish();
}

namespace {
struct TStopReading {};
}  // namespace

TImportedLessons ImportKvtmlFile(const std::string& path, const TKvtmlOptions& options) {
  TKvtmlImporter importer(options);
  try {
    ReadFileBlocks(path, [&importer](const uint8_t* data, std::size_t size) {
      if (!importer.Feed(reinterpret_cast<const char*>(data), size)) throw TStopReading{};
    });
  } catch (const TStopReading&) {
    // The reason is kept for Finish.
  }
  return importer.Finish();
}
