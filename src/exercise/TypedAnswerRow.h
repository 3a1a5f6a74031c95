#pragma once
#include <QWidget>
#include <functional>
#include <string>

#include "session/AnswerDiff.h"

class QLabel;
class QLineEdit;
class TAppLangHandler;

// The row under the card where the learner types the answer and, once it is
// shown, reads what was typed with each character marked.
class TTypedAnswerRow : public QWidget {
  Q_OBJECT

 public:
  TTypedAnswerRow(QWidget* parent, TAppLangHandler& langHandler);

  void ApplyTexts();
  // An empty entry with the focus in it.
  void Ask();
  std::string Typed() const;
  // The marked text instead of the entry, with the verdict and the suggestion.
  void ShowResult(const TAnswerCheck& check, int suggested);
  // Nothing to type and nothing shown.
  void Clear();

  // Return in the entry; edits; Escape.
  std::function<void()> onReturn;
  std::function<void()> onEdited;
  std::function<void()> onEscape;

  QLineEdit* Entry() const { return entry_; }
  QLabel* Marks() const { return marks_; }
  QLabel* Verdict() const { return verdict_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TAppLangHandler& LangHandler;
  QLabel* label_ = nullptr;
  QLineEdit* entry_ = nullptr;
  QLabel* marks_ = nullptr;
  QLabel* verdict_ = nullptr;
};

// The typed text as rich text: right in green, wrong underlined in red,
// extra struck through in red, missing ones in the answer's letters on yellow.
QString MarkedAnswerHtml(const TAnswerCheck& check);
