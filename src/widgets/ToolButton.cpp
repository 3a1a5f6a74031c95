#include "ToolButton.h"

#include <QIcon>
#include <QToolButton>

QToolButton* FlatToolButton(QWidget* parent, const char* name, const QIcon& icon, int iconSize, int hintPause) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setIcon(icon);
  button->setIconSize(QSize(iconSize, iconSize));
  button->setToolTipDuration(hintPause);
  return button;
}
