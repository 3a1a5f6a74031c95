#pragma once
#include <QValidator>

class QLineEdit;

// Characters (code points) of a text: a letter outside the Basic Multilingual
// Plane (an emoji) is one, though a QString holds it in two units.
int CharCount(const QString& text);

// The first count characters of the text; never half of one.
QString LeftChars(const QString& text, int count);

// Limits a field to a number of characters. A field's own maxLength counts
// UTF-16 units, so "茶" and "я" would count one but an emoji two, and a cut at
// the limit could leave half of one.
// Typing or pasting beyond the limit is refused whole.
class TCharLimit : public QValidator {
  Q_OBJECT

 public:
  TCharLimit(int limit, QObject* parent) : QValidator(parent), limit_(limit) {}
  State validate(QString& input, int& pos) const override;
  int Limit() const { return limit_; }
  void SetLimit(int limit) { limit_ = limit; }

 private:
  int limit_;
};

// Puts a limit of that many characters on the field; a longer text the field
// shows (a phrase from a file) may be shortened by typing, never lengthened.
void LimitChars(QLineEdit* field, int limit);
// The field shows a text that may be longer than its limit: the limit gives
// way to it until the learner shortens it.
void ShowLimited(QLineEdit* field, const QString& text);
