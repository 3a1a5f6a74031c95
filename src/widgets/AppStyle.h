#pragma once
#include <QHash>
#include <QIcon>
#include <QProxyStyle>

// The application's style: the platform's own, except that its standard
// icons are made once. Qt decodes an image file for each one asked for, and
// every menu bar, message box and file dialog asks again.
class TIconCacheStyle : public QProxyStyle {
 public:
  QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                     const QWidget* widget = nullptr) const override;

 private:
  mutable QHash<int, QIcon> icons_;
};

// Gives the application this style; call once after creating QApplication.
void InstallAppStyle();
