#include "HelpFile.h"

#include <QRegularExpression>
#include <QUrl>

namespace {
QString Lang(const std::map<QString, QString>& titles, const QString& language) {
  return titles.count(language) != 0 ? language : QStringLiteral("EN");
}
}  // namespace

bool THelpFile::Parse(const QByteArray& utf8, QString* error) {
  std::vector<THelpTopic> topics;
  THelpTopic* topic = nullptr;
  QString language;
  const QStringList lines = QString::fromUtf8(utf8).split('\n');
  auto fail = [&](int lineNbr, const QString& reason) {
    if (error != nullptr) *error = QStringLiteral("line %1: %2").arg(lineNbr).arg(reason);
    return false;
  };
  for (int i = 0; i < lines.size(); ++i) {
    QString line = lines[i];
    if (line.endsWith('\r')) line.chop(1);
    const int lineNbr = i + 1;
    if (line.startsWith('#')) continue;
    if (line.startsWith(QStringLiteral("@topic "))) {
      const QString keyword = line.mid(7).trimmed();
      if (keyword.isEmpty()) return fail(lineNbr, QStringLiteral("topic without keyword"));
      topics.push_back({});
      topic = &topics.back();
      topic->keyword = keyword;
      language.clear();
    } else if (line.startsWith(QStringLiteral("@context "))) {
      if (topic == nullptr) return fail(lineNbr, QStringLiteral("context outside a topic"));
      for (const QString& part : line.mid(9).split(' ', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int context = part.toInt(&ok);
        if (!ok) return fail(lineNbr, QStringLiteral("context is not a number"));
        topic->contexts.push_back(context);
      }
    } else if (line.size() >= 3 && line[0] == '@' && line[1].isUpper() && line[2].isUpper() &&
               (line.size() == 3 || line[3] == ' ')) {
      if (topic == nullptr) return fail(lineNbr, QStringLiteral("language outside a topic"));
      language = line.mid(1, 2);
      topic->titles[language] = line.mid(4).trimmed();
      topic->bodies[language];
    } else if (line.startsWith('@')) {
      return fail(lineNbr, QStringLiteral("unknown directive"));
    } else if (topic != nullptr && !language.isEmpty()) {
      topic->bodies[language].append(line);
    } else if (!line.trimmed().isEmpty()) {
      return fail(lineNbr, QStringLiteral("text outside a topic language"));
    }
  }
  topics_ = std::move(topics);
  return true;
}

const THelpTopic* THelpFile::ByKeyword(const QString& keyword) const {
  for (const THelpTopic& t : topics_)
    if (t.keyword.compare(keyword, Qt::CaseInsensitive) == 0) return &t;
  return nullptr;
}

const THelpTopic* THelpFile::ByContext(int context) const {
  for (const THelpTopic& t : topics_)
    for (int c : t.contexts)
      if (c == context) return &t;
  return nullptr;
}

QString THelpFile::Title(const THelpTopic& topic, const QString& language) const {
  const auto it = topic.titles.find(Lang(topic.titles, language));
  return it == topic.titles.end() ? topic.keyword : it->second;
}

QString THelpFile::TopicHtml(const THelpTopic& topic, const QString& language) const {
  const QString lang = Lang(topic.titles, language);
  static const QRegularExpression link(QStringLiteral("\\[\\[([^\\]]+)\\]\\]"));
  auto inline_ = [&](const QString& text) {
    QString html;
    qsizetype pos = 0;
    auto it = link.globalMatch(text);
    while (it.hasNext()) {
      const auto m = it.next();
      html += text.mid(pos, m.capturedStart() - pos).toHtmlEscaped();
      const QString keyword = m.captured(1);
      const THelpTopic* target = ByKeyword(keyword);
      const QString shown = target != nullptr ? Title(*target, language) : keyword;
      QUrl url;
      url.setScheme(QStringLiteral("topic"));
      url.setPath(keyword);
      html += QStringLiteral("<a href=\"%1\">%2</a>").arg(url.toString(QUrl::FullyEncoded).toHtmlEscaped(),
                                                          shown.toHtmlEscaped());
      pos = m.capturedEnd();
    }
    html += text.mid(pos).toHtmlEscaped();
    return html;
  };

  QString html = QStringLiteral("<h2>%1</h2>\n").arg(Title(topic, language).toHtmlEscaped());
  const auto body = topic.bodies.find(lang);
  if (body == topic.bodies.end()) return html;
  QString paragraph;
  bool inList = false;
  auto flush = [&] {
    if (!paragraph.isEmpty()) html += QStringLiteral("<p>%1</p>\n").arg(paragraph);
    paragraph.clear();
  };
  for (const QString& raw : body->second) {
    const QString line = raw.trimmed();
    if (line.startsWith(QStringLiteral("- "))) {
      flush();
      if (!inList) html += QStringLiteral("<ul>\n");
      inList = true;
      html += QStringLiteral("<li>%1</li>\n").arg(inline_(line.mid(2)));
      continue;
    }
    if (inList) {
      html += QStringLiteral("</ul>\n");
      inList = false;
    }
    if (line.isEmpty()) {
      flush();
    } else {
      if (!paragraph.isEmpty()) paragraph += ' ';
      paragraph += inline_(line);
    }
  }
  flush();
  if (inList) html += QStringLiteral("</ul>\n");
  return html;
}
