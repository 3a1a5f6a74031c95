#include "DayChart.h"

#include <QAccessibleWidget>
#include <QDate>
#include <QPainter>
#include <algorithm>

namespace {
// Screen readers are told the widget is a chart; its name and description
// are the widget's own.
QAccessibleInterface* ChartAccessible(const QString& className, QObject* object) {
  if (className != QLatin1String("TDayChart") || !object || !object->isWidgetType()) return nullptr;
  // Owned by Qt's accessibility cache, which deletes it with the widget.
  return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Chart);
}
}  // namespace

TDayChart::TDayChart(QWidget* parent) : QWidget(parent) {
  static const bool installed = (QAccessible::installFactory(ChartAccessible), true);
  (void)installed;
  setObjectName(QStringLiteral("dayChart"));
  setFocusPolicy(Qt::StrongFocus);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TDayChart::SetDays(std::vector<std::pair<QString, long>> days, const QString& dateFormat) {
  days_ = std::move(days);
  dateFormat_ = dateFormat;
  Describe();
  update();
}

void TDayChart::SetDayText(const QString& text) {
  dayText_ = text;
  Describe();
}

void TDayChart::Describe() {
  QStringList parts;
  for (const auto& [date, count] : days_) parts << QString(dayText_).arg(DateLabel(date)).arg(count);
  setAccessibleDescription(parts.join(QStringLiteral("; ")));
}

QString TDayChart::DateLabel(const QString& date) const {
  const QDate day = QDate::fromString(date, Qt::ISODate);
  return day.isValid() ? day.toString(dateFormat_) : date;
}

QSize TDayChart::sizeHint() const {
  const int rows = fontMetrics().height();
  return {std::max<int>(480, static_cast<int>(days_.size()) * 18), rows * 10};
}

QSize TDayChart::minimumSizeHint() const {
  const int rows = fontMetrics().height();
  return {std::max<int>(240, static_cast<int>(days_.size()) * 8), rows * 6};
}

void TDayChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().base());
  const QFontMetrics metrics = fontMetrics();
  const int line = metrics.height();
  // Room for a count above the highest bar and a date row below.
  const QRect plot = rect().adjusted(6, line + 4, -6, -(line + 6));
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawLine(plot.bottomLeft(), plot.bottomRight());
  if (days_.empty() || plot.width() <= 0 || plot.height() <= 0) return;

  long most = 0;
  for (const auto& day : days_) most = std::max(most, day.second);
  const double slot = static_cast<double>(plot.width()) / static_cast<double>(days_.size());
  const int barWidth = std::max(2, static_cast<int>(slot * 0.7));
  const QColor bar = palette().color(QPalette::Highlight);
  for (std::size_t i = 0; i < days_.size(); ++i) {
    const long count = days_[i].second;
    const int left = plot.left() + static_cast<int>(slot * static_cast<double>(i) + (slot - barWidth) / 2);
    const int centre = left + barWidth / 2;
    if (count > 0) {
      const int height =
          std::max(1, static_cast<int>(static_cast<double>(plot.height()) * static_cast<double>(count) / static_cast<double>(most)));
      painter.fillRect(QRect(left, plot.bottom() - height + 1, barWidth, height), bar);
      painter.setPen(palette().color(QPalette::Text));
      const QString text = QString::number(count);
      // A count wider than its bar is written only where there is room: at the highest bars.
      if (metrics.horizontalAdvance(text) <= static_cast<int>(slot) + 2 || count == most)
        painter.drawText(QRect(centre - 30, plot.bottom() - height - line - 1, 60, line), Qt::AlignCenter, text);
    }
    // Dates under every seventh bar, counted back from today.
    if ((days_.size() - 1 - i) % 7 == 0) {
      painter.setPen(palette().color(QPalette::Text));
      painter.drawLine(centre, plot.bottom(), centre, plot.bottom() + 3);
      const QString label = DateLabel(days_[i].first);
      const int width = metrics.horizontalAdvance(label) + 4;
      int x = centre - width / 2;
      x = std::clamp(x, 0, std::max(0, rect().width() - width));
      painter.drawText(QRect(x, plot.bottom() + 4, width, line), Qt::AlignCenter, label);
    }
  }
  if (hasFocus()) {
    painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

#include "moc_DayChart.cpp"
