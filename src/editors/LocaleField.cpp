#include "LocaleField.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QStringListModel>
#include <map>

#include "core/CodePage.h"
#include "storage/LangFileEncoding.h"

namespace {

// "de  Deutsch", "de_AT  Deutsch (Österreich)", ...: a language alone before
// its countries, so that typing "de" offers it first.
QStringList KnownLocales() {
  std::map<QString, QString> list;
  for (const QLocale& locale : QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
    if (locale.language() == QLocale::C) continue;
    const QString native = locale.nativeLanguageName();
    if (native.isEmpty()) continue;
    const QString name = locale.name();  // "de_DE"
    const QString language = name.section('_', 0, 0);
    list.emplace(language, native);
    const QString country = locale.nativeTerritoryName();
    if (name != language) list.emplace(name, country.isEmpty() ? native : native + " (" + country + ")");
  }
  QStringList entries;
  for (const auto& [code, name] : list) entries << code + "  " + name;
  return entries;
}

// Down in the field opens the whole list (or what starts as typed) when it
// is not open yet, as a combo box does.
class TListOnDown : public QObject {
 public:
  TListOnDown(QLineEdit* field, QCompleter* completer) : QObject(field), field_(field), completer_(completer) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == field_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down && !completer_->popup()->isVisible()) {
      completer_->setCompletionPrefix(field_->text().section(' ', 0, 0, QString::SectionSkipEmpty));
      completer_->complete();
      return true;
    }
    return false;
  }

 private:
  QLineEdit* field_;
  QCompleter* completer_;
};

}  // namespace

QLineEdit* MakeLocaleField(QWidget* parent, const QString& objectName) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(objectName);
  auto* completer = new QCompleter(new QStringListModel(KnownLocales(), field), field);
  completer->setCaseSensitivity(Qt::CaseInsensitive);
  completer->setMaxVisibleItems(15);
  field->setCompleter(completer);
  field->installEventFilter(new TListOnDown(field, completer));
  // A locale picked from the list comes with its language's name; the field
  // keeps the code alone once left, as the file will hold it.
  QObject::connect(field, &QLineEdit::editingFinished, field, [field] {
    const QString code = field->text().section(' ', 0, 0, QString::SectionSkipEmpty);
    if (code != field->text()) field->setText(code);
  });
  return field;
}

void ShowLocale(QLineEdit* field, const std::string& locale) { field->setText(Utf8ToQString(locale)); }

QString LocaleText(const QLineEdit* field) { return field->text().trimmed(); }

std::optional<std::string> LocaleIn(const QLineEdit* field) {
  const std::string locale = QStringToUtf8(LocaleText(field).section(' ', 0, 0, QString::SectionSkipEmpty));
  if (!IsLocaleName(locale)) return std::nullopt;
  return locale;
}
