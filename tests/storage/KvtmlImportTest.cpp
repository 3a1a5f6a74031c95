#include <gtest/gtest.h>

#include <string>

#include "storage/KvtmlImport.h"

namespace {

// Two languages, two lessons (the second not in practice, the first with a
// lesson inside it), an entry in no lesson, one with a single text, and
// what a language file cannot hold.
const std::string kTwoLanguages = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE kvtml PUBLIC "kvtml2.dtd" "http://edu.kde.org/kvtml/kvtml2.dtd">
<kvtml version="2.0">
 <information><generator>Parley</generator><title>Test</title></information>
 <identifiers>
  <identifier id="0"><name>English</name><locale>en</locale></identifier>
  <identifier id="1"><name>German</name><locale>de</locale></identifier>
 </identifiers>
 <entries>
  <entry id="5"><translation id="0"><text>house</text><sound>house.wav</sound></translation>
   <translation id="1"><text> Haus </text><grade><currentgrade>3</currentgrade></grade></translation></entry>
  <entry id="7"><translation id="0"><text>tree &amp; bush</text></translation>
   <translation id="1"><text>Baum</text><image>file:///x.png</image></translation></entry>
  <entry id="8"><deactivated>true</deactivated><translation id="0"><text>old</text></translation>
   <translation id="1"><text>alt</text></translation></entry>
  <entry id="9"><translation id="0"><text>red</text></translation><translation id="1"><text>rot</text></translation></entry>
  <entry id="10"><translation id="0"><text>loose</text></translation><translation id="1"><text>lose</text></translation></entry>
  <entry id="11"><translation id="0"><text>only one</text></translation></entry>
 </entries>
 <lessons>
  <container><name>Home</name><inpractice>true</inpractice><entry id="5"/>
   <container><name>Garden</name><entry id="7"/></container><entry id="8"/></container>
  <container><name>Colours</name><entry id="9"/><inpractice>false</inpractice></container>
  <container><name>Empty</name></container>
 </lessons>
 <wordtypes><container><name>Noun</name><entry id="5"><translation id="0"/></entry></container></wordtypes>
</kvtml>
)";

std::string Line(const TImportedLessons& result, std::size_t lesson, int32_t pair) {
  return result.Lessons.at(lesson)->GetPear(pair)->GetFileLine();
}

TEST(KvtmlImportTest, TopLevelLessonsInFileOrderWithLooseEntriesLast) {
  TKvtmlOptions options;
  options.KeepSound = [](const std::string& reference) { return reference == "house.wav" ? "kept/house.wav" : ""; };
  const TImportedLessons result = ImportKvtml(kTwoLanguages, options);
  ASSERT_TRUE(result.Ok()) << result.Errors[0];
  EXPECT_EQ(result.Lang1Name, "English");
  EXPECT_EQ(result.Lang2Name, "German");
  EXPECT_EQ(result.Lang1Locale, "en");
  ASSERT_EQ(result.Lessons.size(), 3u);
  EXPECT_EQ(result.PairCount, 5);
  // The inner lesson folds into Home; a deactivated entry is not in use.
  EXPECT_EQ(Line(result, 0, 0), "0=house@Haus#kept/house.wav@ *");
  EXPECT_EQ(Line(result, 0, 1), "1=tree & bush@Baum# @ *");
  EXPECT_EQ(Line(result, 0, 2), "2=old@alt# @ ");
  // Not in practice, whatever the order of its elements.
  EXPECT_EQ(Line(result, 1, 0), "0=red@rot# @ ");
  EXPECT_EQ(Line(result, 2, 0), "0=loose@lose# @ *");
  const std::vector<std::string> names = {"1: Home", "2: Colours", "3: (entries in no lesson)"};
  EXPECT_EQ(result.LessonNames, names);
  EXPECT_EQ(result.NotKept.Summary(),
            "Not kept: 1 grade, 1 image, 1 word type, 1 lesson without a pair, "
            "1 entry without text in both languages");
}

const std::string kThreeLanguages = R"(<kvtml version="2.0"><identifiers>
  <identifier id="0"><name>English</name></identifier>
  <identifier id="1"><locale>fr</locale></identifier>
  <identifier id="2"><name>Spanish</name><locale>es</locale></identifier></identifiers>
 <entries><entry id="0"><translation id="0"><text>dog</text></translation>
   <translation id="1"><text>chien</text></translation><translation id="2"><text>perro</text></translation></entry>
  <entry id="1"><translation id="0"><text>cat</text></translation><translation id="2"><text>gato</text></translation></entry>
 </entries></kvtml>)";

TEST(KvtmlImportTest, ThreeLanguagesChooseTwoAndCountTheThird) {
  struct TCase {
    int lang1, lang2;
    const char* name1;
    const char* name2;
    std::vector<std::string> lines;
    const char* notKept;
  };
  const TCase cases[] = {
      {0, 1, "English", "fr", {"0=dog@chien# @ *"},
       "Not kept: 2 translations in other languages, 1 entry without text in both languages"},
      {2, 0, "Spanish", "English", {"0=perro@dog# @ *", "1=gato@cat# @ *"}, "Not kept: 1 translation in another language"},
  };
  for (const TCase& c : cases) {
    TKvtmlOptions options;
    options.Lang1Id = c.lang1;
    options.Lang2Id = c.lang2;
    const TImportedLessons result = ImportKvtml(kThreeLanguages, options);
    ASSERT_TRUE(result.Ok()) << result.Errors[0];
    EXPECT_EQ(result.Lang1Name, c.name1);
    EXPECT_EQ(result.Lang2Name, c.name2);
    ASSERT_EQ(result.Lessons.size(), 1u);
    for (std::size_t p = 0; p < c.lines.size(); ++p) EXPECT_EQ(Line(result, 0, static_cast<int32_t>(p)), c.lines[p]);
    EXPECT_EQ(result.NotKept.Summary(), c.notKept);
  }
  TKvtmlOptions missing;
  missing.Lang2Id = 4;
  const TImportedLessons result = ImportKvtml(kThreeLanguages, missing);
  ASSERT_EQ(result.Errors.size(), 1u);
  EXPECT_EQ(result.Errors[0], "the file has no language with the identifier 4 (its identifiers: 0 English, 1 fr, 2 Spanish)");
}

TEST(KvtmlImportTest, PairsAFileCannotHoldRejectOrAreSkipped) {
  const std::string xml = R"(<kvtml version="2.0"><identifiers><identifier id="0"><name>English</name></identifier>
   <identifier id="1"><name>German</name></identifier></identifiers><entries>
   <entry id="0"><translation id="0"><text>a@b</text></translation><translation id="1"><text>x</text></translation></entry>
   <entry id="1"><translation id="0"><text>fine</text></translation><translation id="1"><text>gut</text></translation></entry>
   <entry id="2"><translation id="0"><text>)" + std::string(51, 'a') + R"(</text></translation>
    <translation id="1"><text>lang</text></translation></entry></entries></kvtml>)";
  TKvtmlOptions options;
  TImportedLessons result = ImportKvtml(xml, options);
  ASSERT_EQ(result.Errors.size(), 2u);
  EXPECT_EQ(result.Errors[0].rfind("entry 0: word1 contains \"@\"", 0), 0u) << result.Errors[0];
  EXPECT_EQ(result.Errors[1].rfind("entry 2: ", 0), 0u) << result.Errors[1];
  options.SkipUnfit = true;
  result = ImportKvtml(xml, options);
  ASSERT_TRUE(result.Ok());
  EXPECT_EQ(result.PairCount, 1);
  EXPECT_EQ(result.NotKept.Summary(), "Not kept: 2 pairs a language file cannot hold");
}

// Parley writes empty grades and grammar tables; only those with something
// in them are lost.
TEST(KvtmlImportTest, EmptyDetailsAreNotCounted) {
  const std::string xml = R"(<kvtml version="2.0"><identifiers>
   <identifier id="0"><name>English</name><article></article><personalpronouns><x>I</x></personalpronouns></identifier>
   <identifier id="1"><name>German</name><tenses/><sizehint>120</sizehint></identifier></identifiers><entries>
   <entry id="0"><translation id="0"><text>a</text><comment> </comment><image>i.png</image></translation>
    <translation id="1"><text>b</text><grade><currentgrade>2</currentgrade></grade><multiplechoice/>
    <conjugation><tense>x</tense></conjugation><falsefriend fromid="0"/></translation></entry></entries></kvtml>)";
  const TImportedLessons result = ImportKvtml(xml, {});
  ASSERT_TRUE(result.Ok()) << result.Errors[0];
  EXPECT_EQ(result.NotKept.Summary(), "Not kept: 1 pronoun table, 1 image, 1 grade, 1 conjugation, 1 false friend");
}

TEST(KvtmlImportTest, WindowsCodePageTargetRefusesWhatItCannotHold) {
  const std::string xml = R"(<kvtml version="2.0"><identifiers><identifier id="0"><name>Deutsch</name></identifier>
   <identifier id="1"><name>Russisch</name></identifier></identifiers><entries>
   <entry id="0"><translation id="0"><text>Tee</text></translation><translation id="1"><text>чай</text></translation></entry>
   </entries></kvtml>)";
  TKvtmlOptions options;
  options.Target = TTextEncoding::Cp1252;
  const TImportedLessons result = ImportKvtml(xml, options);
  ASSERT_EQ(result.Errors.size(), 1u);
  EXPECT_NE(result.Errors[0].find("Windows-1252 cannot hold"), std::string::npos) << result.Errors[0];
  options.Target = TTextEncoding::Utf8;
  EXPECT_TRUE(ImportKvtml(xml, options).Ok());
}

// Each is refused with its reason and nothing else.
TEST(KvtmlImportTest, HostileAndBrokenFilesAreRefused) {
  struct TCase {
    const char* name;
    std::string xml;
    const char* reason;
  };
  const std::string deep = std::string("<kvtml version=\"2.0\">") + [] {
    std::string nested;
    for (int i = 0; i < 100; ++i) nested += "<a>";
    for (int i = 0; i < 100; ++i) nested += "</a>";
    return nested;
  }() + "</kvtml>";
  const TCase cases[] = {
      {"entity expansion",
       "<?xml version=\"1.0\"?>\n<!DOCTYPE kvtml [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;\">]>\n"
       "<kvtml version=\"2.0\"><x>&b;</x></kvtml>",
       "declares a document type with entities"},
      {"external entity", "<!DOCTYPE kvtml [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><kvtml><x>&e;</x></kvtml>",
       "declares a document type with entities"},
      {"undefined entity behind an outside document type",
       "<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\"><kvtml><x>&foo;</x></kvtml>",
       "the entity \"&foo;\" is not defined"},
      {"undefined entity", "<kvtml><x>&foo;</x></kvtml>", "not well-formed XML"},
      {"deep nesting", deep, "nested deeper than 64 levels"},
      {"long text", "<kvtml><x>" + std::string(1100000, 'a') + "</x></kvtml>", "longer than 1 MB"},
      {"long text split by comments",
       "<kvtml><identifiers><identifier id=\"0\"><name>" + std::string(600000, 'a') + "<!---->" +
           std::string(600000, 'a') + "</name></identifier></identifiers></kvtml>",
       "a text longer than 1 MB"},
      {"long attribute", "<kvtml><x a=\"" + std::string(1100000, 'a') + "\"/></kvtml>", "longer than 1 MB"},
      {"cut short", "<kvtml version=\"2.0\"><identifiers>", "ends in the middle of its XML"},
      {"mismatched tags", "<kvtml><a></b></kvtml>", "not well-formed XML"},
      {"empty", "", "the file is empty"},
      {"not kvtml", "<html><body/></html>", "not a KVTML file"},
      {"version 1", "<kvtml version=\"1.0\"><e><o>a</o></e></kvtml>", "only version 2 is read"},
      {"no entries", "<kvtml version=\"2.0\"><identifiers><identifier id=\"0\"/><identifier id=\"1\"/></identifiers></kvtml>",
       "no entry with text in both languages"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    const TImportedLessons result = ImportKvtml(c.xml, {});
    ASSERT_EQ(result.Errors.size(), 1u);
    EXPECT_NE(result.Errors[0].find(c.reason), std::string::npos) << result.Errors[0];
    EXPECT_TRUE(result.Lessons.empty());
  }
}

// A text far beyond the limit is refused while it streams in: the reader
// never holds more than about the limit.
TEST(KvtmlImportTest, HugeTextIsRefusedBeforeItIsRead) {
  TKvtmlOptions options;
  TKvtmlImporter importer(options);
  const std::string head = "<kvtml version=\"2.0\"><x>";
  ASSERT_TRUE(importer.Feed(head.data(), head.size()));
  const std::string block(64 * 1024, 'a');
  int fed = 0;
  while (fed < 1600 && importer.Feed(block.data(), block.size())) ++fed;  // 100 MB at most
  EXPECT_LT(fed, 20) << "refused within about 1 MB";
  const TImportedLessons result = importer.Finish();
  ASSERT_EQ(result.Errors.size(), 1u);
  EXPECT_NE(result.Errors[0].find("longer than 1 MB"), std::string::npos) << result.Errors[0];
}

TEST(KvtmlImportTest, FileLargerThanTheLimitIsRefused) {
  TKvtmlOptions options;
  options.Limits.MaxBytes = 1000;
  const std::string xml = "<kvtml version=\"2.0\">" + std::string(2000, ' ') + "</kvtml>";
  const TImportedLessons result = ImportKvtml(xml, options);
  ASSERT_EQ(result.Errors.size(), 1u);
  EXPECT_NE(result.Errors[0].find("larger than the 1000 bytes"), std::string::npos) << result.Errors[0];
}

}  // namespace
