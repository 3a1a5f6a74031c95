#include "GeneralUtil.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QWidget>
#include <algorithm>

#include "ScreenPlacement.h"
#include <cmath>

namespace {
TMessageBoxHook& MessageHook() {
  static TMessageBoxHook hook;
  return hook;
}

// Marks a window whose "Size" entry is greyed, and one that sizes itself to
// its content (auto-size).
constexpr const char* kSizeGreyed = "qmSizeGreyed";
constexpr const char* kAutoSize = "qmAutoSize";

void FreeSize(QWidget* window) {
  if (window->layout() != nullptr) window->layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
  window->setMinimumSize(0, 0);
  window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

// The user cannot resize the window. One that sizes itself to its content
// still follows it (longer texts after a language switch); any other keeps
// its present size.
void FixSize(QWidget* window) {
  if (window->layout() != nullptr && window->property(kAutoSize).toBool()) {
    FreeSize(window);
    window->layout()->setSizeConstraint(QLayout::SetFixedSize);
    window->layout()->activate();
  } else {
    window->setFixedSize(window->size());
  }
}

// Scroll bars for a main window whose content no longer fits the screen: its
// central widget moves into a scroll area.
void ShowScrollBars(QWidget* window, bool horizontal, bool vertical) {
  auto* main = qobject_cast<QMainWindow*>(window);
  if (main == nullptr || main->centralWidget() == nullptr) return;
  auto* area = qobject_cast<QScrollArea*>(main->centralWidget());
  if (area == nullptr) {
    QWidget* content = main->takeCentralWidget();
    area = new QScrollArea(main);  // owned by the main window
    area->setObjectName(QStringLiteral("fitScrollArea"));
    area->setWidget(content);
    area->setWidgetResizable(true);
    main->setCentralWidget(area);
  }
  if (horizontal) area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  if (vertical) area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}
}  // namespace

int ShowMessageBox(QWidget* owner, const QString& caption, const QString& text, QMessageBox::Icon icon,
                   QMessageBox::StandardButtons buttons, bool beep) {
  return ShowMessageBox(TMessageRequest{owner, caption, text, icon, buttons, beep, {}});
}

int ShowMessageBox(const TMessageRequest& request) {
  if (request.beep) QApplication::beep();
  if (MessageHook()) return MessageHook()(request);
  QMessageBox box(request.icon, request.caption, request.text, request.buttons, request.owner);
  for (const TButtonText& named : request.buttonTexts)
    if (QAbstractButton* button = box.button(named.button)) button->setText(named.text);
  return box.exec();
}

TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook) {
  TMessageBoxHook previous = std::move(MessageHook());
  MessageHook() = std::move(hook);
  return previous;
}

// Qt windows have no system menu of their own; its "Size" entry (position 2)
// stands for whether the user may resize the window.
void GreySystemMenuItem(QWidget* window, int position, bool grey) {
  if (window == nullptr || position != 2) return;
  window->setProperty(kSizeGreyed, grey);
  if (grey) {
    FixSize(window);
  } else {
    FreeSize(window);
  }
}

TFitResult FitGeometry(const TFitInput& in) {
  TFitResult r;
  r.width = in.width;
  r.height = in.height;
  r.left = in.left;
  r.top = in.top;
  r.autoSize = in.autoSize;
  bool centreH = in.centreH;
  bool centreV = in.centreV;

  auto fullWidth = [&] {
    r.autoSize = false;
    r.width = in.screenWidth;
    r.left = 0;
    r.hScrollBar = true;
    centreH = false;
    r.scrolled = true;
  };
  auto fullHeight = [&] {
    r.autoSize = false;
    r.height = in.screenHeight - in.captionHeight;
    r.top = 0;
    r.vScrollBar = true;
    centreV = false;
    r.scrolled = true;
  };

  const double d = in.dpi;
  if (d > 100 || d < 90) {
    const double f = d < 130 ? (d + 5) / 100 : (d + 10) / 100;
    // std::nearbyint rounds halves to even in the default rounding mode.
    const int newHeight = static_cast<int>(std::nearbyint(in.height * f));
    const int newWidth = static_cast<int>(std::nearbyint(in.width * f));
    if (newWidth > in.screenWidth) {
      fullWidth();
      if (in.screenHeight > newHeight) {
        const int height = r.hScrollBar ? newHeight + in.scrollBarHeight : newHeight;
        const int gained = height - r.height;
        r.height = height;
        if (!centreV) r.top = std::max(0, r.top - gained / 2);
      }
    } else {
      r.width = newWidth;
      r.height = newHeight;
      r.autoSize = in.autoSize;
    }
    if (in.screenHeight < newHeight) fullHeight();
  } else {
    if (in.screenWidth < in.width) fullWidth();
    if (in.screenHeight < in.height) fullHeight();
  }

  if (centreV) r.top = (in.screenHeight - r.height) / 2;
  if (centreH) r.left = (in.screenWidth - r.width) / 2;
  return r;
}

bool FitFormToScreen(QWidget* window, bool centreH, bool centreV, bool autoSize) {
  if (window == nullptr) return false;
  KeepFrameOnScreen(window);
  QScreen* screen = window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return false;
  // The layout decides the design size of a window that has one.
  if (window->layout() != nullptr && !autoSize) window->layout()->activate();

  TFitInput in;
  // A window that sizes itself to its content is as large as that content.
  const QSize size = autoSize ? window->sizeHint().expandedTo(window->minimumSizeHint()) : window->size();
  in.width = size.width();
  in.height = size.height();
  in.dpi = screen->logicalDotsPerInchY();
  in.screenWidth = screen->geometry().width();
  in.screenHeight = screen->geometry().height();
  QStyle* style = window->style();
  in.captionHeight = style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
  in.scrollBarHeight = style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, window);
  in.left = window->x();
  in.top = window->y();
  in.centreH = centreH;
  in.centreV = centreV;
  in.autoSize = autoSize;
  const TFitResult r = FitGeometry(in);

  const bool greyed = window->property(kSizeGreyed).toBool();
  window->setProperty(kAutoSize, r.autoSize);
  FreeSize(window);
  if (r.hScrollBar || r.vScrollBar) ShowScrollBars(window, r.hScrollBar, r.vScrollBar);
  window->resize(r.width, r.height);
  if (r.autoSize) {
    // Qt scales fonts, and so layouts, by the resolution already: the window
    // takes the size of its content, and is placed by that size.
    window->adjustSize();
    if (greyed) FixSize(window);
    TFitInput again = in;
    again.width = window->width();
    again.height = window->height();
    again.dpi = 96;
    const TFitResult placed = FitGeometry(again);
    window->move(placed.left, placed.top);
  } else {
    if (greyed) FixSize(window);
    window->move(r.left, r.top);
  }
  return r.scrolled;
}
