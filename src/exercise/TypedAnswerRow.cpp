#include "TypedAnswerRow.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "settings/TextNumbers.h"
#include "widgets/AccessibleName.h"
#include "widgets/UiText.h"

namespace {
// A blank that is wrong, missing or extra would be invisible; a right one
// stays a blank.
QString Shown(const TMarkedChar& c) {
  const QString s = QString::fromUtf8(c.Text.data(), static_cast<qsizetype>(c.Text.size()));
  if (s.trimmed().isEmpty()) return c.Mark == TCharMark::Right ? QStringLiteral("&nbsp;") : QStringLiteral("\u2423");
  return s.toHtmlEscaped();
}
}  // namespace

QString MarkedAnswerHtml(const TAnswerCheck& check) {
  QString html;
  for (const TMarkedChar& c : check.Chars) {
    const QString text = Shown(c);
    switch (c.Mark) {
      case TCharMark::Right:
        html += QStringLiteral("<span style=\"color:#1b7a2e\">") + text + QStringLiteral("</span>");
        break;
      case TCharMark::Wrong:
        html += QStringLiteral("<span style=\"color:#c0001a; text-decoration:underline; font-weight:bold\">") + text +
                QStringLiteral("</span>");
        break;
      case TCharMark::Extra:
        html += QStringLiteral("<span style=\"color:#c0001a; text-decoration:line-through\">") + text +
                QStringLiteral("</span>");
        break;
      case TCharMark::Missing:
        html += QStringLiteral("<span style=\"color:#6b5200; background-color:#ffe98a\">") + text +
                QStringLiteral("</span>");
        break;
    }
  }
  return html;
}

TTypedAnswerRow::TTypedAnswerRow(QWidget* parent, TAppLangHandler& langHandler)
    : QWidget(parent), LangHandler(langHandler) {
  setObjectName(QStringLiteral("typedAnswerRow"));
  auto* rows = new QVBoxLayout(this);
  rows->setContentsMargins(0, 4, 0, 0);
  auto* line = new QHBoxLayout;
  label_ = new QLabel(this);
  label_->setObjectName(QStringLiteral("labelTyped"));
  entry_ = new QLineEdit(this);
  entry_->setObjectName(QStringLiteral("answerEntry"));
  marks_ = new QLabel(this);
  marks_->setObjectName(QStringLiteral("typedMarks"));
  marks_->setTextFormat(Qt::RichText);
  marks_->setTextInteractionFlags(Qt::NoTextInteraction);
  QFont big = entry_->font();
  big.setPointSizeF(big.pointSizeF() * 1.4);
  entry_->setFont(big);
  marks_->setFont(big);
  // The marks take the entry's place; the row keeps its height.
  marks_->setMinimumHeight(entry_->sizeHint().height());
  marks_->hide();
  line->addWidget(label_);
  line->addWidget(entry_, 1);
  line->addWidget(marks_, 1);
  rows->addLayout(line);
  verdict_ = new QLabel(this);
  verdict_->setObjectName(QStringLiteral("typedVerdict"));
  verdict_->setWordWrap(true);
  rows->addWidget(verdict_);
  entry_->installEventFilter(this);
  connect(entry_, &QLineEdit::textEdited, this, [this] {
    if (onEdited) onEdited();
  });
  Clear();
}

void TTypedAnswerRow::ApplyTexts() {
  label_->setText(UiText(LangHandler, txYourAnswer) + QStringLiteral(" :"));
  TieToLabel(label_, entry_);
  entry_->setToolTip(UiText(LangHandler, txTypeAnswerHint));
  entry_->setPlaceholderText(UiText(LangHandler, txTypeAnswerHint));
  marks_->setAccessibleName(UiText(LangHandler, txYourAnswer));
}

void TTypedAnswerRow::Ask() {
  entry_->clear();
  entry_->setEnabled(true);
  entry_->show();
  marks_->hide();
  verdict_->clear();
  entry_->setFocus(Qt::OtherFocusReason);
}

std::string TTypedAnswerRow::Typed() const { return entry_->text().toStdString(); }

void TTypedAnswerRow::ShowResult(const TAnswerCheck& check, int suggested) {
  int counts[4] = {0, 0, 0, 0};
  for (const TMarkedChar& c : check.Chars) ++counts[static_cast<int>(c.Mark)];
  marks_->setText(MarkedAnswerHtml(check));
  // A screen reader hears the counts the colours show.
  const QString summary = WithNumbers(UiText(LangHandler, txAnswerMarkCounts),
                                      {counts[static_cast<int>(TCharMark::Right)], counts[static_cast<int>(TCharMark::Wrong)],
                                       counts[static_cast<int>(TCharMark::Missing)], counts[static_cast<int>(TCharMark::Extra)]});
  marks_->setAccessibleDescription(summary);
  entry_->hide();
  marks_->show();
  const QString verdict = UiText(LangHandler, check.Correct ? txAnswerRight : txAnswerWrong);
  verdict_->setText(QStringLiteral("<b style=\"color:%1\">%2</b> &ndash; %3")
                        .arg(check.Correct ? QStringLiteral("#1b7a2e") : QStringLiteral("#c0001a"),
                             verdict.toHtmlEscaped(),
                             WithNumbers(UiText(LangHandler, txSuggestedPriority), {suggested}).toHtmlEscaped()));
  verdict_->setAccessibleName(verdict + QStringLiteral(". ") + summary);
}

void TTypedAnswerRow::Clear() {
  entry_->clear();
  entry_->setEnabled(false);
  entry_->show();
  marks_->hide();
  marks_->clear();
  verdict_->clear();
}

bool TTypedAnswerRow::eventFilter(QObject* watched, QEvent* event) {
  // Return answers (the entry would pass it on to the window as well);
  // Escape closes the window as everywhere in the drill.
  if (watched == entry_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      if (onReturn) onReturn();
      return true;
    }
    if (key == Qt::Key_Escape) {
      if (onEscape) onEscape();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

#include "moc_TypedAnswerRow.cpp"
