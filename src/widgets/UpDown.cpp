#include "UpDown.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/Convert.h"
#include "core/CodePage.h"

TUpDown::TUpDown(QLineEdit* buddy, QWidget* parent)
    : QWidget(parent), btnUp(new QToolButton(this)), btnDown(new QToolButton(this)), buddy_(buddy) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (QToolButton* b : {btnUp, btnDown}) {
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedSize(18, 12);
    layout->addWidget(b);
  }
  btnUp->setArrowType(Qt::UpArrow);
  btnDown->setArrowType(Qt::DownArrow);
  btnUp->setObjectName(QStringLiteral("btnUpDownUp"));
  btnDown->setObjectName(QStringLiteral("btnUpDownDown"));
  connect(btnUp, &QToolButton::clicked, this, [this] { StepBy(1); });
  connect(btnDown, &QToolButton::clicked, this, [this] { StepBy(-1); });
}

void TUpDown::SetRange(int32_t lowest, int32_t highest) {
  lowest_ = lowest;
  highest_ = highest;
}

void TUpDown::SetPosition(int32_t position) {
  position_ = position;
  buddy_->setText(QString::number(position_));
}

void TUpDown::StepBy(int delta) {
  int32_t value = 0;
  if (TryStrToInt(buddy_->text().toStdString(), value)) position_ = value;
  int64_t next = static_cast<int64_t>(position_) + delta;
  if (next > highest_) next = lowest_;
  if (next < lowest_) next = highest_;
  SetPosition(static_cast<int32_t>(next));
}
