#include "FieldCheck.h"

#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include "settings/AppLangHandl.h"
#include "shell/GeneralUtil.h"
#include "shell/UiText.h"
#include "storage/CodePage.h"

namespace {
// Where the text cannot be stored: its first refused character, or none.
bool Convert(const QString& text, TStoredField kind, std::string& out, QChar& bad, bool& separator) {
  if (!QStringToCp1252(text, out, &bad)) {
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
}  // namespace

bool FieldText(const QLineEdit* field, TStoredField kind, std::string& out) {
  QChar bad;
  bool separator = false;
  return Convert(field->text(), kind, out, bad, separator);
}

bool CheckField(QLineEdit* field, TStoredField kind, const TAppLangHandler& texts, std::string& out) {
  QChar bad;
  bool separator = false;
  if (Convert(field->text(), kind, out, bad, separator)) return true;
  QWidget* owner = field->window();
  const int n = separator ? kTextRefusedSeparator : kTextNoCodePage;
  ShowMessageBox(owner, owner->windowTitle(), UiText(texts, n) + Quoted(bad), QMessageBox::Warning, QMessageBox::Ok,
                 true);
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
  QChar bad;
  if (QStringToCp1252(path, out, &bad)) return true;
  ShowMessageBox(owner, owner->windowTitle(), UiText(texts, kTextFileNameNoCodePage) + Quoted(bad),
                 QMessageBox::Warning, QMessageBox::Ok, true);
  return false;
}

QString DisplayPath(const std::string& stored) {
  QString path = Cp1252ToQString(stored);
  path.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return path;
}
