#include "TableErrorList.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "widgets/AccessibleName.h"

TTableErrorList::TTableErrorList(QWidget* owner, const QString& caption, const QString& intro,
                                 const QString& listName, const QStringList& errors)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("TableErrorList"));
  setWindowTitle(caption);
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(intro, this);
  label->setObjectName(QStringLiteral("labelTableErrors"));
  label->setWordWrap(true);
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("tableErrors"));
  // A reason is read whole: long ones wrap instead of running out of sight.
  list_->setWordWrap(true);
  list_->setResizeMode(QListView::Adjust);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list_->addItems(errors);
  list_->setMinimumSize(560, 180);
  list_->setAccessibleName(listName);
  label->setBuddy(list_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->setObjectName(QStringLiteral("buttons"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(label);
  layout->addWidget(list_, 1);
  layout->addWidget(buttons);
  if (list_->count() > 0) list_->setCurrentRow(0);
  list_->setFocus();
}

#include "moc_TableErrorList.cpp"
