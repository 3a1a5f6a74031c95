#include "FieldCheck.h"

#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include "settings/AppLangHandl.h"
#include "GeneralUtil.h"
#include "UiText.h"
#include "core/CodePage.h"
#include "settings/TextNumbers.h"

namespace {
// Where the text cannot be stored: its first refused character, or none.
bool Convert(const QString& text, TStoredField kind, std::string& out, QChar& bad, bool& separator,
             int* badPos = nullptr) {
  if (!QStringToCp1252(text, out, &bad, badPos)) {
    separator = false;
    return false;
  }
  const char sep = RefusedSeparator(kind, out);
  if (sep != '\0') {
    bad = Cp1252ToQString(std::string(1, sep)).at(0);
    separator = true;
    return false;
  }
  return true;
}

QString Quoted(QChar c) { return QStringLiteral(" \"") + c + QLatin1Char('"'); }

// The character at pos and its code point, as the command-line tool names
// it: a character the message box's font lacks would show as an empty box.
QString Named(const QString& text, int pos) {
  char32_t code = pos >= 0 && pos < text.size() ? text.at(pos).unicode() : 0;
  if (QChar::isHighSurrogate(code) && pos + 1 < text.size() && text.at(pos + 1).isLowSurrogate())
    code = QChar::surrogateToUcs4(text.at(pos), text.at(pos + 1));
  const QString shown = QString::fromUcs4(&code, 1);
  return QStringLiteral(" \"") + shown + QStringLiteral("\" (U+") +
         QString::number(static_cast<uint>(code), 16).toUpper().rightJustified(4, QLatin1Char('0')) +
         QLatin1Char(')');
}
}  // namespace

bool FieldText(const QLineEdit* field, TStoredField kind, std::string& out) {
  QChar bad;
  bool separator = false;
  return Convert(field->text(), kind, out, bad, separator);
}

bool CheckField(QLineEdit* field, TStoredField kind, const TAppLangHandler& texts, std::string& out) {
  QChar bad;
  bool separator = false;
  int badPos = -1;
  if (Convert(field->text(), kind, out, bad, separator, &badPos)) return true;
  QWidget* owner = field->window();
  const QString text = separator ? UiText(texts, txRefusedSeparator) + Quoted(bad)
                                 : UiText(texts, txCharNotStorable) + Named(field->text(), badPos);
  ShowMessageBox(owner, owner->windowTitle(), text, QMessageBox::Warning, QMessageBox::Ok, true);
  ReturnFocus(field);
  return false;
}

namespace {
bool& Returning() {
  static bool returning = false;
  return returning;
}
}  // namespace

void ReturnFocus(QWidget* field) {
  QTimer::singleShot(0, field, [field] {
    Returning() = true;
    field->setFocus(Qt::OtherFocusReason);
    Returning() = false;
  });
}

bool FocusReturning() { return Returning(); }

bool StoredFileName(const QString& path, QWidget* owner, const TAppLangHandler& texts, std::string& out) {
  int badPos = -1;
  if (QStringToCp1252(path, out, nullptr, &badPos)) return true;
  ShowMessageBox(owner, owner->windowTitle(), UiText(texts, txFileNameNotStorable) + Named(path, badPos),
                 QMessageBox::Warning, QMessageBox::Ok, true);
  return false;
}

QString DisplayPath(const std::string& stored) {
  QString path = Cp1252ToQString(stored);
  path.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return path;
}
