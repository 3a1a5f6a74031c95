#include "LocaleBox.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <map>

#include "core/CodePage.h"
#include "storage/LangFileEncoding.h"

namespace {

// "de", "de_AT", ... each with the name its speakers give it: a language
// alone first, so that typing "de" offers it before its countries.
const std::map<QString, QString>& KnownLocales() {
  static const std::map<QString, QString> known = [] {
    std::map<QString, QString> list;
    for (const QLocale& locale :
         QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
      if (locale.language() == QLocale::C) continue;
      const QString name = locale.name();  // "de_DE"
      const QString language = name.section('_', 0, 0);
      const QString native = locale.nativeLanguageName();
      if (native.isEmpty()) continue;
      list.emplace(language, native);
      const QString country = locale.nativeTerritoryName();
      if (name != language) list.emplace(name, country.isEmpty() ? native : native + " (" + country + ")");
    }
    return list;
  }();
  return known;
}

}  // namespace

QComboBox* MakeLocaleBox(QWidget* parent, const QString& objectName) {
  auto* box = new QComboBox(parent);
  box->setObjectName(objectName);
  box->setEditable(true);
  // What the learner types is the locale; it is never added to the list.
  box->setInsertPolicy(QComboBox::NoInsert);
  box->addItem(QString());
  for (const auto& [code, name] : KnownLocales()) box->addItem(code + "  " + name, code);
  box->setMaxVisibleItems(20);
  box->setMinimumContentsLength(12);
  box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  return box;
}

void ShowLocale(QComboBox* box, const std::string& locale) {
  const QString code = Utf8ToQString(locale);
  const int index = code.isEmpty() ? 0 : box->findData(code);
  if (index >= 0) box->setCurrentIndex(index);
  box->setEditText(code);
}

QString LocaleText(const QComboBox* box) { return box->currentText().trimmed(); }

std::optional<std::string> LocaleIn(const QComboBox* box) {
  const QString word = LocaleText(box).section(' ', 0, 0, QString::SectionSkipEmpty);
  const std::string locale = QStringToUtf8(word);
  if (!IsLocaleName(locale)) return std::nullopt;
  return locale;
}
