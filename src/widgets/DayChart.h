#pragma once
#include <QString>
#include <QWidget>
#include <utility>
#include <vector>

// Bars of a count per day, oldest on the left, painted with the window's
// own palette and font. A date is written under every seventh bar (and the
// last), a count above every bar that has one. Screen readers get the days
// and counts as the accessible description.
class TDayChart : public QWidget {
  Q_OBJECT
 public:
  explicit TDayChart(QWidget* parent = nullptr);
  // days: ("2026-12-11", count), oldest first. dateFormat: how a date is
  // written under its bar (QDate's format, e.g. "d.M.").
  void SetDays(std::vector<std::pair<QString, long>> days, const QString& dateFormat);
  // %1 the date, %2 the count: one day as a screen reader hears it.
  void SetDayText(const QString& text);
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString DateLabel(const QString& date) const;
  void Describe();
  std::vector<std::pair<QString, long>> days_;
  QString dateFormat_ = QStringLiteral("d.M.");
  QString dayText_ = QStringLiteral("%1: %2");
};
