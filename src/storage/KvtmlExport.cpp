#include "KvtmlExport.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamWriter>
#include <vector>

namespace {

// XML 1.0 cannot carry control characters other than tab, line feed and
// carriage return; a file may hold them after a hand edit.
QString XmlText(const std::string& text) {
  QString out = QString::fromStdString(text);
  for (QChar& c : out)
    if (c.unicode() < 0x20 && c != u'\t') c = u' ';
  return out;
}

struct TListed {
  int Id;
  bool InUse;
};

void WriteContainer(QXmlStreamWriter& xml, const QString& name, bool inPractice) {
  xml.writeTextElement(u"name"_qs, name);
  xml.writeTextElement(u"inpractice"_qs, inPractice ? u"true"_qs : u"false"_qs);
}

void WriteEntry(QXmlStreamWriter& xml, int id) {
  xml.writeEmptyElement(u"entry"_qs);
  xml.writeAttribute(u"id"_qs, QString::number(id));
}

}  // namespace

std::string ExportKvtml(const TLangFHandler& handler, const std::string& title,
                        const std::function<std::string(const std::string& soundName)>& soundReference) {
  QByteArray bytes;
  QXmlStreamWriter xml(&bytes);
  xml.setAutoFormatting(true);
  xml.setAutoFormattingIndent(1);
  xml.writeStartDocument();
  xml.writeDTD(u"<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">"_qs);
  xml.writeStartElement(u"kvtml"_qs);
  xml.writeAttribute(u"version"_qs, u"2.0"_qs);

  xml.writeStartElement(u"information"_qs);
  xml.writeTextElement(u"generator"_qs, u"quillmere-lang"_qs);
  xml.writeTextElement(u"title"_qs, XmlText(title));
  xml.writeEndElement();

  xml.writeStartElement(u"identifiers"_qs);
  const std::string* names[2] = {&handler.Lang1Name, &handler.Lang2Name};
  const std::string* locales[2] = {&handler.Lang1Locale, &handler.Lang2Locale};
  for (int side = 0; side < 2; ++side) {
    xml.writeStartElement(u"identifier"_qs);
    xml.writeAttribute(u"id"_qs, QString::number(side));
    xml.writeTextElement(u"name"_qs, XmlText(*names[side]));
    if (!locales[side]->empty()) xml.writeTextElement(u"locale"_qs, XmlText(*locales[side]));
    xml.writeEndElement();
  }
  xml.writeEndElement();

  // Entries are numbered across lessons; each lesson lists its own.
  std::vector<std::pair<int32_t, std::vector<TListed>>> lessons;
  int id = 0;
  xml.writeStartElement(u"entries"_qs);
  for (int32_t l = 0; l < handler.LessonSlotCount(); ++l) {
    const auto lesson = handler.GetLesson(l);
    if (!lesson || lesson->PearCount() == 0) continue;
    lessons.emplace_back(lesson->LessonNbr, std::vector<TListed>{});
    for (int32_t p = 0; p < lesson->SlotCount(); ++p) {
      const auto pear = lesson->GetPear(p);
      if (!pear) continue;
      xml.writeStartElement(u"entry"_qs);
      xml.writeAttribute(u"id"_qs, QString::number(id));
      const std::string words[2] = {std::string(pear->Word1), std::string(pear->Word2)};
      const std::string sounds[2] = {std::string(pear->WavFile1), std::string(pear->WavFile2)};
      for (int side = 0; side < 2; ++side) {
        xml.writeStartElement(u"translation"_qs);
        xml.writeAttribute(u"id"_qs, QString::number(side));
        xml.writeTextElement(u"text"_qs, XmlText(words[side]));
        const bool hasSound = sounds[side].find_first_not_of(' ') != std::string::npos;
        const std::string reference = hasSound && soundReference ? soundReference(sounds[side]) : std::string();
        if (!reference.empty()) xml.writeTextElement(u"sound"_qs, XmlText(reference));
        xml.writeEndElement();
      }
      xml.writeEndElement();
      lessons.back().second.push_back({id++, pear->InUse});
    }
  }
  xml.writeEndElement();

  xml.writeStartElement(u"lessons"_qs);
  for (const auto& [number, listed] : lessons) {
    const QString name = u"Lesson "_qs + QString::number(number);
    bool anyInUse = false, anyUnused = false;
    for (const TListed& entry : listed) (entry.InUse ? anyInUse : anyUnused) = true;
    xml.writeStartElement(u"container"_qs);
    WriteContainer(xml, name, anyInUse);
    if (!anyInUse) {
      for (const TListed& entry : listed) WriteEntry(xml, entry.Id);
    } else {
      // Each run of pairs not in use sits in an inner container of its own,
      // so that the pairs read back in their order.
      for (std::size_t i = 0; i < listed.size();) {
        if (listed[i].InUse) {
          WriteEntry(xml, listed[i++].Id);
          continue;
        }
        xml.writeStartElement(u"container"_qs);
        WriteContainer(xml, name + u" (not in use)"_qs, false);
        for (; i < listed.size() && !listed[i].InUse; ++i) WriteEntry(xml, listed[i].Id);
        xml.writeEndElement();
      }
    }
    xml.writeEndElement();
  }
  xml.writeEndElement();

  xml.writeEndElement();
  xml.writeEndDocument();
  return bytes.toStdString();
}
