#include "AccessibleName.h"

#include <QLabel>
#include <QWidget>

void NameAfterToolTip(QWidget* control) { control->setAccessibleName(control->toolTip()); }

void TieToLabel(QLabel* label, QWidget* field) {
  label->setBuddy(field);
  // "Max. pairs per exercise :" is read without the colon and the "&".
  QString name = label->text();
  name.remove(QLatin1Char('&'));
  while (name.endsWith(QLatin1Char(':')) || name.endsWith(QLatin1Char(' '))) name.chop(1);
  field->setAccessibleName(name.trimmed());
}

void NameStepButtons(QWidget* up, QWidget* down, const QWidget* field, const QString& more, const QString& less) {
  const QString prefix = field->accessibleName() + QStringLiteral(": ");
  up->setAccessibleName(prefix + more);
  down->setAccessibleName(prefix + less);
}
