#include "CharLimit.h"

#include <QLineEdit>
#include <algorithm>

namespace {
constexpr const char* kBaseLimit = "qmCharLimit";
}  // namespace

int CharCount(const QString& text) {
  int n = 0;
  for (qsizetype i = 0; i < text.size(); ++i)
    if (!(text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate())) ++n;
  return n;
}

QString LeftChars(const QString& text, int count) {
  qsizetype i = 0;
  for (int n = 0; n < count && i < text.size(); ++n)
    i += text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
  return text.left(i);
}

QValidator::State TCharLimit::validate(QString& input, int&) const {
  return CharCount(input) <= limit_ ? Acceptable : Invalid;
}

void LimitChars(QLineEdit* field, int limit) {
  auto* validator = new TCharLimit(limit, field);
  field->setValidator(validator);
  field->setProperty(kBaseLimit, limit);
  // The allowance of a long loaded text shrinks with each edit that shortens it.
  QObject::connect(field, &QLineEdit::textEdited, validator, [field, validator] {
    validator->SetLimit(std::max(field->property(kBaseLimit).toInt(), CharCount(field->text())));
  });
}

void ShowLimited(QLineEdit* field, const QString& text) {
  if (auto* validator = field->findChild<TCharLimit*>(QString(), Qt::FindDirectChildrenOnly))
    validator->SetLimit(std::max(field->property(kBaseLimit).toInt(), CharCount(text)));
  field->setText(text);
}
