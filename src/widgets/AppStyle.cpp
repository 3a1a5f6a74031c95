#include "AppStyle.h"

#include <QApplication>
#include <QStyleOption>
#include <QWidget>

QIcon TIconCacheStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                    const QWidget* widget) const {
  // An option may carry a state or palette that changes the icon; only the
  // plain request is kept, by icon and text direction.
  if (option != nullptr) return QProxyStyle::standardIcon(standardIcon, option, widget);
  const Qt::LayoutDirection direction = widget != nullptr ? widget->layoutDirection() : QGuiApplication::layoutDirection();
  const int key = static_cast<int>(standardIcon) * 2 + (direction == Qt::RightToLeft ? 1 : 0);
  auto it = icons_.constFind(key);
  if (it == icons_.constEnd()) it = icons_.insert(key, QProxyStyle::standardIcon(standardIcon, option, widget));
  return *it;
}

void InstallAppStyle() {
  // The application owns the style from here on.
  QApplication::setStyle(new TIconCacheStyle);
}
