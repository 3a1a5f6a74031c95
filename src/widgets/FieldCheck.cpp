#include "FieldCheck.h"

#include <QFile>
#include <QFocusEvent>
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
  // A lone surrogate is half a character: it has no UTF-8 form.
  for (qsizetype i = 0; i < text.size(); ++i) {
    const bool paired = text[i].isHighSurrogate() ? i + 1 < text.size() && text[i + 1].isLowSurrogate()
                        : text[i].isLowSurrogate() ? i > 0 && text[i - 1].isHighSurrogate()
                                                   : true;
    if (!paired) {
      bad = text[i];
      if (badPos != nullptr) *badPos = static_cast<int>(i);
      separator = false;
      return false;
    }
  }
  out = QStringToUtf8(text);
  const std::string_view sep = RefusedSeparator(kind, out);
  if (!sep.empty()) {
    bad = Utf8ToQString(sep).at(0);
    separator = true;
    return false;
  }
  return true;
}

QString Quoted(QChar c) { return QStringLiteral(" \"") + c + QLatin1Char('"'); }

// The character at pos and its code point.
QString Named(const QString& text, int pos) {
  char32_t code = pos >= 0 && pos < text.size() ? text.at(pos).unicode() : 0;
  if (QChar::isHighSurrogate(code) && pos + 1 < text.size() && text.at(pos + 1).isLowSurrogate())
    code = QChar::surrogateToUcs4(text.at(pos), text.at(pos + 1));
  return NamedChar(code);
}
}  // namespace

QString NamedChar(char32_t code) {
  const QString shown = QString::fromUcs4(&code, 1);
  return QStringLiteral(" \"") + shown + QStringLiteral("\" (U+") +
         QString::number(static_cast<uint>(code), 16).toUpper().rightJustified(4, QLatin1Char('0')) +
         QLatin1Char(')');
}

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

bool LeavesField(const QEvent* event) {
  if (event->type() != QEvent::FocusOut || FocusReturning()) return false;
  const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

std::string StoredFileName(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString DisplayPath(const std::string& stored) {
  QString path = QFile::decodeName(stored.c_str());
  path.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return path;
}
