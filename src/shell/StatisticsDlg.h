#pragma once
#include <QDialog>

class QLabel;
class QTableWidget;
class TAppLangHandler;
class TDayChart;
struct TPractiseStats;

// The learner's progress with the current language file: per lesson the
// pairs, those in use, held back by priority and retired; the pairs
// practised per day as bars; the share of right typed answers.
class TStatisticsDlg : public QDialog {
  Q_OBJECT
 public:
  TStatisticsDlg(QWidget* owner, const TAppLangHandler& texts, const QString& fileName, const TPractiseStats& stats);

  QTableWidget* lessonTable = nullptr;
  TDayChart* dayChart = nullptr;
  QLabel* labelTyped = nullptr;
  QLabel* labelSkipped = nullptr;

 private:
  void FillTable(const TAppLangHandler& texts, const TPractiseStats& stats);
};
