#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

// The help file "Quillmere.Hlp": UTF-8 text of topics, each in English and German.
//
//   # a comment line
//   @topic Hauptfenster          starts a topic (its keyword)
//   @context 7                   help context numbers that open it (any number of them)
//   @EN The main window          the title in one language; the body lines follow
//   body lines ...
//   @DE Das Hauptfenster
//   ...
//
// Body: paragraphs separated by blank lines; a line "- text" is a list item;
// [[Keyword]] links to another topic and shows that topic's title.
struct THelpTopic {
  QString keyword;
  std::vector<int> contexts;
  std::map<QString, QString> titles;  // by language code
  std::map<QString, QStringList> bodies;
};

class THelpFile {
 public:
  // Parses the text; false with a reason ("line 12: ...") for a malformed file.
  bool Parse(const QByteArray& utf8, QString* error = nullptr);

  const THelpTopic* ByKeyword(const QString& keyword) const;
  const THelpTopic* ByContext(int context) const;
  const std::vector<THelpTopic>& Topics() const { return topics_; }

  // The topic as HTML in the language (English when the topic lacks it).
  QString TopicHtml(const THelpTopic& topic, const QString& language) const;
  QString Title(const THelpTopic& topic, const QString& language) const;

 private:
  std::vector<THelpTopic> topics_;
};
