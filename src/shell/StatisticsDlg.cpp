#include "StatisticsDlg.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "session/PractiseStats.h"
#include "settings/TextNumbers.h"
#include "widgets/DayChart.h"
#include "widgets/HelpWnd.h"
#include "widgets/UiText.h"

namespace {
QTableWidgetItem* NumberItem(long value) {
  auto* item = new QTableWidgetItem(QString::number(value));
  item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  return item;
}
}  // namespace

TStatisticsDlg::TStatisticsDlg(QWidget* owner, const TAppLangHandler& texts, const QString& fileName,
                               const TPractiseStats& stats)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("StatisticsDlg"));
  setWindowTitle(UiText(texts, txStatisticsTitle).arg(QFileInfo(fileName).fileName()));
  auto* layout = new QVBoxLayout(this);

  auto* labelLessons = new QLabel(UiText(texts, txStatLessons), this);
  labelLessons->setObjectName(QStringLiteral("labelLessons"));
  lessonTable = new QTableWidget(this);
  lessonTable->setObjectName(QStringLiteral("lessonTable"));
  lessonTable->setAccessibleName(UiText(texts, txStatLessons));
  labelLessons->setBuddy(lessonTable);
  FillTable(texts, stats);
  auto* note = new QLabel(UiText(texts, txStatNote), this);
  note->setObjectName(QStringLiteral("labelNote"));
  note->setWordWrap(true);

  const QString chartCaption = WithNumbers(UiText(texts, txStatPerDay), {static_cast<int>(stats.LastDays.size())});
  auto* labelChart = new QLabel(chartCaption, this);
  labelChart->setObjectName(QStringLiteral("labelChart"));
  dayChart = new TDayChart(this);
  dayChart->setAccessibleName(chartCaption);
  dayChart->SetDayText(UiText(texts, txStatDay));
  std::vector<std::pair<QString, long>> days;
  for (const auto& [date, count] : stats.LastDays) days.emplace_back(QString::fromStdString(date), count);
  dayChart->SetDays(std::move(days), UiText(texts, txStatDateFormat));
  labelChart->setBuddy(dayChart);

  const int percent = stats.SuccessPercent();
  labelTyped = new QLabel(this);
  labelTyped->setObjectName(QStringLiteral("labelTyped"));
  labelTyped->setText(percent < 0 ? UiText(texts, txStatTypedNone)
                                  : WithNumbers(UiText(texts, txStatTyped),
                                                {static_cast<int>(stats.Right), static_cast<int>(stats.Wrong), percent}));
  labelSkipped = new QLabel(this);
  labelSkipped->setObjectName(QStringLiteral("labelSkipped"));
  labelSkipped->setWordWrap(true);
  if (!stats.HistoryError.empty())
    labelSkipped->setText(UiText(texts, txHistoryUnreadable) + ' ' + QString::fromStdString(stats.HistoryError));
  else if (stats.SkippedLines > 0)
    labelSkipped->setText(WithNumbers(UiText(texts, txHistorySkipped), {static_cast<int>(stats.SkippedLines)}));
  labelSkipped->setVisible(!labelSkipped->text().isEmpty());

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->setObjectName(QStringLiteral("buttons"));
  QPushButton* close = buttons->button(QDialogButtonBox::Close);
  close->setText(UiText(texts, txStatClose));
  close->setAccessibleName(UiText(texts, txStatClose).remove('&'));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  layout->addWidget(labelLessons);
  layout->addWidget(lessonTable, 2);
  layout->addWidget(note);
  layout->addSpacing(6);
  layout->addWidget(labelChart);
  layout->addWidget(dayChart, 3);
  layout->addWidget(labelTyped);
  layout->addWidget(labelSkipped);
  layout->addWidget(buttons);
  lessonTable->setFocus();
  // F1 opens the main window's topic, which tells what the figures mean.
  SetHelpContext(this, 7);
}

void TStatisticsDlg::FillTable(const TAppLangHandler& texts, const TPractiseStats& stats) {
  // Lesson, pairs, in use, held back, held back by priority 1 to 8, retired.
  constexpr int kColumns = 13;
  lessonTable->setColumnCount(kColumns);
  QStringList headers = {UiText(texts, txStatLesson), UiText(texts, txStatPairs), UiText(texts, txStatInUse),
                         UiText(texts, txStatHeldBack)};
  for (int p = 1; p <= 8; ++p) headers << QString::number(p);
  headers << UiText(texts, txStatRetired);
  lessonTable->setHorizontalHeaderLabels(headers);
  // The bare priority columns say in full what they count.
  for (int p = 1; p <= 8; ++p) {
    QTableWidgetItem* header = lessonTable->horizontalHeaderItem(3 + p);
    const QString name = UiText(texts, txFirstPriorityName + p);
    header->setToolTip(name);
    header->setData(Qt::AccessibleTextRole, name);
  }
  lessonTable->verticalHeader()->hide();
  lessonTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lessonTable->setSelectionBehavior(QAbstractItemView::SelectRows);
  lessonTable->setSelectionMode(QAbstractItemView::SingleSelection);
  lessonTable->setRowCount(static_cast<int>(stats.Lessons.size()) + 1);
  auto fillRow = [this](int row, const TLessonFigures& f, const QString& name) {
    auto* first = new QTableWidgetItem(name);
    first->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    lessonTable->setItem(row, 0, first);
    lessonTable->setItem(row, 1, NumberItem(f.Pairs));
    lessonTable->setItem(row, 2, NumberItem(f.InUse));
    lessonTable->setItem(row, 3, NumberItem(f.HeldBackTotal()));
    for (std::size_t p = 1; p <= 8; ++p) lessonTable->setItem(row, 3 + static_cast<int>(p), NumberItem(f.HeldBack[p]));
    lessonTable->setItem(row, kColumns - 1, NumberItem(f.Retired));
  };
  int row = 0;
  for (const TLessonFigures& f : stats.Lessons) fillRow(row++, f, QString::number(f.Lesson));
  fillRow(row, stats.Total, UiText(texts, txStatTotal));
  QFont bold = lessonTable->font();
  bold.setBold(true);
  for (int c = 0; c < kColumns; ++c) lessonTable->item(row, c)->setFont(bold);
  lessonTable->resizeColumnsToContents();
  lessonTable->horizontalHeader()->setStretchLastSection(true);
  if (row > 0) lessonTable->setCurrentCell(0, 0);
  int width = 0;
  for (int c = 0; c < kColumns; ++c) width += lessonTable->columnWidth(c);
  lessonTable->setMinimumWidth(width + 2 * lessonTable->frameWidth() + 4);
}

#include "moc_StatisticsDlg.cpp"
