#pragma once
#include <QDialog>
#include <QStringList>

class QListWidget;

// The rows of a table that could not be imported, each with its row number
// and reason, in a list the learner can scroll and read out; nothing of the
// table was taken.
class TTableErrorList : public QDialog {
  Q_OBJECT

 public:
  TTableErrorList(QWidget* owner, const QString& caption, const QString& intro, const QString& listName,
                  const QStringList& errors);

  QListWidget* List() const { return list_; }

 private:
  QListWidget* list_ = nullptr;
};
