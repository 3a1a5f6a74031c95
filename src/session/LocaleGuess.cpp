#include "LocaleGuess.h"

#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QString>

namespace {
// German names of the languages learners here pair most, and short names
// Qt does not give; Qt knows the English and the native names of every
// language.
constexpr struct {
  const char* name;
  QLocale::Language language;
} kOtherNames[] = {
    {"Englisch", QLocale::English},      {"Französisch", QLocale::French},     {"Spanisch", QLocale::Spanish},
    {"Italienisch", QLocale::Italian},   {"Portugiesisch", QLocale::Portuguese}, {"Niederländisch", QLocale::Dutch},
    {"Polnisch", QLocale::Polish},       {"Tschechisch", QLocale::Czech},       {"Slowakisch", QLocale::Slovak},
    {"Russisch", QLocale::Russian},      {"Ukrainisch", QLocale::Ukrainian},    {"Griechisch", QLocale::Greek},
    {"Türkisch", QLocale::Turkish},      {"Chinesisch", QLocale::Chinese},      {"Japanisch", QLocale::Japanese},
    {"Koreanisch", QLocale::Korean},     {"Arabisch", QLocale::Arabic},         {"Hebräisch", QLocale::Hebrew},
    {"Schwedisch", QLocale::Swedish},    {"Norwegisch", QLocale::NorwegianBokmal}, {"Dänisch", QLocale::Danish},
    {"Finnisch", QLocale::Finnish},      {"Ungarisch", QLocale::Hungarian},     {"Rumänisch", QLocale::Romanian},
    {"Kroatisch", QLocale::Croatian},    {"Serbisch", QLocale::Serbian},        {"Slowenisch", QLocale::Slovenian},
    {"Bulgarisch", QLocale::Bulgarian},  {"Litauisch", QLocale::Lithuanian},    {"Lettisch", QLocale::Latvian},
    {"Estnisch", QLocale::Estonian},     {"Latein", QLocale::Latin},            {"Persisch", QLocale::Persian},
    {"Norwegian", QLocale::NorwegianBokmal}, {"中文", QLocale::Chinese},        {"汉语", QLocale::Chinese},
    {"漢語", QLocale::Chinese},
};

QString Folded(const QString& name) { return name.trimmed().toCaseFolded(); }

const QHash<QString, QLocale::Language>& Names() {
  static const QHash<QString, QLocale::Language> names = [] {
    QHash<QString, QLocale::Language> table;
    for (int n = QLocale::C + 1; n <= QLocale::LastLanguage; ++n) {
      const auto language = static_cast<QLocale::Language>(n);
      const QString english = QLocale::languageToString(language);
      if (!english.isEmpty()) table.insert(Folded(english), language);
    }
    // Native names after the English ones, without replacing them.
    for (const QLocale& locale : QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
      const QString native = Folded(locale.nativeLanguageName());
      if (!native.isEmpty() && !table.contains(native)) table.insert(native, locale.language());
    }
    for (const auto& other : kOtherNames) table.insert(Folded(QString::fromUtf8(other.name)), other.language);
    return table;
  }();
  return names;
}

std::string CodeOf(QLocale::Language language) { return QLocale::languageToCode(language).toStdString(); }
}  // namespace

std::string GuessLocale(std::string_view languageName) {
  const QString name = Folded(QString::fromUtf8(languageName.data(), static_cast<qsizetype>(languageName.size())));
  if (name.isEmpty()) return {};
  const auto& names = Names();
  if (auto it = names.constFind(name); it != names.constEnd()) return CodeOf(it.value());
  // "English (UK)", "Deutsch - Grundwortschatz": the first word.
  const qsizetype end = name.indexOf(QRegularExpression(QStringLiteral("[^\\p{L}]")));
  if (end > 0)
    if (auto it = names.constFind(name.left(end)); it != names.constEnd()) return CodeOf(it.value());
  return {};
}
