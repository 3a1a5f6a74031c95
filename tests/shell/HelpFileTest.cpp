#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include "widgets/HelpFile.h"

class HelpFileTest : public QObject {
  Q_OBJECT

 private slots:
  void malformedFilesAreRefusedWithTheLine_data();
  void malformedFilesAreRefusedWithTheLine();
  void topicsByKeywordAndContext();
  void bodyBecomesParagraphsListsAndLinks();
  void missingLanguageFallsBackToEnglish();
  void bundledHelpFileHasEveryTopicInBothLanguages();
};

void HelpFileTest::malformedFilesAreRefusedWithTheLine_data() {
  QTest::addColumn<QByteArray>("text");
  QTest::addColumn<QString>("error");
  QTest::newRow("topic without keyword") << QByteArray("@topic \n") << "line 1: topic without keyword";
  QTest::newRow("context outside a topic") << QByteArray("# c\n@context 1\n") << "line 2: context outside a topic";
  QTest::newRow("context not a number") << QByteArray("@topic A\n@context x\n") << "line 2: context is not a number";
  QTest::newRow("language outside a topic") << QByteArray("@EN Title\n") << "line 1: language outside a topic";
  QTest::newRow("unknown directive") << QByteArray("@topic A\n@title B\n") << "line 2: unknown directive";
  QTest::newRow("text before any language") << QByteArray("@topic A\ntext\n") << "line 2: text outside a topic language";
}

void HelpFileTest::malformedFilesAreRefusedWithTheLine() {
  QFETCH(QByteArray, text);
  QFETCH(QString, error);
  THelpFile file;
  QString reason;
  QVERIFY(!file.Parse(text, &reason));
  QCOMPARE(reason, error);
  QVERIFY(file.Topics().empty());
}

void HelpFileTest::topicsByKeywordAndContext() {
  THelpFile file;
  QVERIFY(file.Parse("@topic Inhalt\n@context 1\n@EN Contents\nx\n@topic Edit/New Lesson\n@context 4 9\n@EN Lesson\ny\n"));
  QVERIFY(file.ByKeyword("inhalt") != nullptr);  // keywords ignore letter case
  QCOMPARE(file.ByKeyword("Edit/New Lesson")->keyword, QStringLiteral("Edit/New Lesson"));
  QCOMPARE(file.ByContext(9)->keyword, QStringLiteral("Edit/New Lesson"));
  QCOMPARE(file.ByContext(1)->keyword, QStringLiteral("Inhalt"));
  QVERIFY(file.ByContext(2) == nullptr);
  QVERIFY(file.ByKeyword("Hauptfenster") == nullptr);
}

void HelpFileTest::bodyBecomesParagraphsListsAndLinks() {
  THelpFile file;
  QVERIFY(file.Parse("@topic A\r\n@EN Alpha <1>\r\nfirst\r\nline\r\n\r\n- one [[B]]\r\n- two\r\nafter & more\r\n"
                     "@topic B\n@EN Beta\n"));
  const QString html = file.TopicHtml(*file.ByKeyword("A"), "EN");
  QCOMPARE(html, QStringLiteral("<h2>Alpha &lt;1&gt;</h2>\n<p>first line</p>\n<ul>\n"
                                "<li>one <a href=\"topic:B\">Beta</a></li>\n<li>two</li>\n</ul>\n"
                                "<p>after &amp; more</p>\n"));
}

void HelpFileTest::missingLanguageFallsBackToEnglish() {
  THelpFile file;
  QVERIFY(file.Parse("@topic A\n@EN Alpha\ntext\n"));
  QVERIFY(file.TopicHtml(*file.ByKeyword("A"), "DE").contains("Alpha"));
  QCOMPARE(file.Title(*file.ByKeyword("A"), "FR"), QStringLiteral("Alpha"));
}

void HelpFileTest::bundledHelpFileHasEveryTopicInBothLanguages() {
  QFile f(QStringLiteral(QM_PROGRAM_DIR "/Quillmere.Hlp"));
  QVERIFY2(f.open(QIODevice::ReadOnly), "the build places Quillmere.Hlp in the program directory");
  THelpFile file;
  QString reason;
  QVERIFY2(file.Parse(f.readAll(), &reason), qPrintable(reason));
  for (const char* keyword :
       {"Hauptfenster", "Allgemeines", "Inhalt", "Settings-Dialog", "Edit-Exercise-Lessons", "Edit/New Lesson"}) {
    const THelpTopic* topic = file.ByKeyword(keyword);
    QVERIFY2(topic != nullptr, keyword);
    QVERIFY2(topic->titles.count("EN") == 1 && topic->titles.count("DE") == 1, keyword);
  }
  for (int context = 1; context <= 7; ++context) QVERIFY2(file.ByContext(context) != nullptr, qPrintable(QString::number(context)));
  // Every link names a topic.
  static const QRegularExpression link(QStringLiteral("\\[\\[([^\\]]+)\\]\\]"));
  for (const THelpTopic& topic : file.Topics())
    for (const auto& [language, lines] : topic.bodies)
      for (const QString& line : lines)
        for (auto it = link.globalMatch(line); it.hasNext();) {
          const QString target = it.next().captured(1);
          QVERIFY2(file.ByKeyword(target) != nullptr, qPrintable(topic.keyword + " -> " + target));
        }
}

QTEST_GUILESS_MAIN(HelpFileTest)
#include "HelpFileTest.moc"
